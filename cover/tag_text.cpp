#include "cover/tag_text.h"

namespace {

constexpr uint32_t REPLACEMENT_CHARACTER = 0xFFFD;

// Collects code points into UTF-8 up to the character limit.
class TextBuilder {
public:
    // False once the text is full.
    bool Add(uint32_t codePoint)
    {
        if (characters_ == LONGEST_TEXT_CHARACTERS)
            return false;
        if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            codePoint = REPLACEMENT_CHARACTER;
        if (codePoint < 0x80) {
            text_ += static_cast<char>(codePoint);
        } else if (codePoint < 0x800) {
            text_ += static_cast<char>(0xC0 | codePoint >> 6);
            text_ += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else if (codePoint < 0x10000) {
            text_ += static_cast<char>(0xE0 | codePoint >> 12);
            text_ += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
            text_ += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else {
            text_ += static_cast<char>(0xF0 | codePoint >> 18);
            text_ += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
            text_ += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
            text_ += static_cast<char>(0x80 | (codePoint & 0x3F));
        }
        ++characters_;
        return true;
    }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
    size_t characters_ = 0;
};

// One UTF-8 sequence at `bytes`: its code point and length; a malformed or
// overlong sequence is one byte of U+FFFD.
uint32_t DecodeUtf8(const uint8_t* bytes, size_t length, size_t* used)
{
    *used = 1;
    const uint8_t lead = bytes[0];
    if (lead < 0x80)
        return lead;
    const size_t count = lead >= 0xF5 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (count == 0 || count > length)
        return REPLACEMENT_CHARACTER;
    uint32_t codePoint = lead & (0x7F >> count);
    for (size_t i = 1; i < count; ++i) {
        if ((bytes[i] & 0xC0) != 0x80)
            return REPLACEMENT_CHARACTER;
        codePoint = codePoint << 6 | (bytes[i] & 0x3F);
    }
    constexpr uint32_t SMALLEST[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < SMALLEST[count] || codePoint > 0x10FFFF)
        return REPLACEMENT_CHARACTER;
    *used = count;
    return codePoint;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

void TagText::Offer(TextField which, std::string value)
{
    if (field[which].empty())
        field[which] = std::move(value);
}

bool TagText::Complete() const
{
    for (const std::string& value : field)
        if (value.empty())
            return false;
    return true;
}

std::string TextFromLatin1(const uint8_t* bytes, size_t length)
{
    TextBuilder text;
    for (size_t i = 0; i < length && bytes[i] != 0 && text.Add(bytes[i]); ++i) {
    }
    return text.Take();
}

std::string TextFromUtf8(const uint8_t* bytes, size_t length)
{
    TextBuilder text;
    size_t used = 0;
    for (size_t i = 0; i < length && bytes[i] != 0 && text.Add(DecodeUtf8(bytes + i, length - i, &used)); i += used) {
    }
    return text.Take();
}

std::string TextFromUtf16(const uint8_t* bytes, size_t length, bool bigEndian)
{
    size_t i = 0;
    if (length >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        bigEndian = bytes[0] == 0xFE;
        i = 2;
    }
    const auto unit = [bytes, bigEndian](size_t at) {
        return static_cast<uint32_t>(bigEndian ? bytes[at] << 8 | bytes[at + 1] : bytes[at + 1] << 8 | bytes[at]);
    };
    TextBuilder text;
    for (; i + 1 < length; i += 2) {
        uint32_t codePoint = unit(i);
        if (codePoint == 0)
            break;
        // A high surrogate takes the low one after it; alone, either is U+FFFD.
        if (codePoint >= 0xD800 && codePoint < 0xDC00 && i + 3 < length && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        }
        if (!text.Add(codePoint))
            break;
    }
    return text.Take();
}

bool TextFieldNamed(const char* key, size_t keyLength, TextField* which)
{
    static const char* const NAMES[TEXT_FIELD_COUNT] = {"title", "artist", "album"};
    for (int field = 0; field < TEXT_FIELD_COUNT; ++field) {
        const char* name = NAMES[field];
        size_t i = 0;
        while (i < keyLength && name[i] != '\0' && LowerAscii(key[i]) == name[i])
            ++i;
        if (i == keyLength && name[i] == '\0') {
            *which = static_cast<TextField>(field);
            return true;
        }
    }
    return false;
}
