#include <gtest/gtest.h>
#include <string>
#include "cover/ogg_comments.h"
#include "cover/tag_text.h"

namespace {

const uint8_t* Bytes(const char* text)
{
    return reinterpret_cast<const uint8_t*>(text);
}

constexpr char FFFD[] = "\xEF\xBF\xBD";

// What no tagger writes on purpose: broken sequences become U+FFFD, never a
// fault or a longer read; every text ends at its terminator and at 255 characters.
TEST(TagText, DecodesEachEncodingAndReplacesWhatDoesNotDecode)
{
    struct Case {
        const char* name;
        std::string decoded, expected;
    } cases[] = {
        {"latin-1", TextFromLatin1(Bytes("Caf\xE9\0rest"), 9), "Caf\xC3\xA9"},
        {"utf-8 stray continuation", TextFromUtf8(Bytes("a\x80" "b"), 3), std::string("a") + FFFD + "b"},
        {"utf-8 overlong slash", TextFromUtf8(Bytes("\xC0\xAF"), 2), std::string(FFFD) + FFFD},
        {"utf-8 surrogate", TextFromUtf8(Bytes("\xED\xA0\x80"), 3), FFFD},
        {"utf-8 cut sequence", TextFromUtf8(Bytes("\xE3\x81"), 2), std::string(FFFD) + FFFD},
        {"utf-8 beyond U+10FFFF", TextFromUtf8(Bytes("\xF4\x90\x80\x80"), 4), std::string(FFFD) + FFFD + FFFD + FFFD},
        {"utf-16 bom overrides", TextFromUtf16(Bytes("\xFE\xFF\x00" "A\x00\x00"), 6, false), "A"},
        {"utf-16 pair", TextFromUtf16(Bytes("\x3D\xD8\x00\xDE"), 4, false), "\xF0\x9F\x98\x80"},
        {"utf-16 lone high", TextFromUtf16(Bytes("\x3D\xD8" "A\x00"), 4, false), std::string(FFFD) + "A"},
        {"utf-16 lone low", TextFromUtf16(Bytes("\x00\xDE"), 2, false), FFFD},
        {"utf-16 odd byte", TextFromUtf16(Bytes("A\x00" "B"), 3, false), "A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.decoded) << c.name;

    const std::string longText(300, 'x'), longJapanese = [] {
        std::string s;
        for (int i = 0; i < 300; ++i)
            s += "\xE3\x81\x82";
        return s;
    }();
    EXPECT_EQ(std::string(255, 'x'), TextFromUtf8(Bytes(longText.c_str()), longText.size()));
    EXPECT_EQ(longJapanese.substr(0, 255 * 3), TextFromUtf8(Bytes(longJapanese.c_str()), longJapanese.size()));
}

TEST(TagText, CommentsGiveTheFirstValueOfEachFieldWithinTheirBound)
{
    const char comments[] = "title=One\0ARTIST=Two\0TITLE=Later\0ALBUMARTIST=No\0\0";
    TagText text;
    ReadTextFromComments(comments, sizeof comments, &text);
    EXPECT_EQ("One", text.field[TITLE]);
    EXPECT_EQ("Two", text.field[ARTIST]);
    EXPECT_EQ("", text.field[ALBUM]);
    // A series that does not end within the bound gives nothing past it.
    TagText cut;
    ReadTextFromComments(comments, 12, &cut);
    EXPECT_EQ("One", cut.field[TITLE]);
    EXPECT_EQ("", cut.field[ARTIST]);
}

}  // namespace
