#include <gtest/gtest.h>
#include <string>
#include "state/format_path.h"

namespace {

TEST(FormatPath, FormatsWideStringsAndNumbers)
{
    wchar_t out[MAX_PATH];
    ASSERT_TRUE(FormatPath(out, L"%s\\%s\\%d.jpg", L"C:\\Music", L"\u9752", 7));
    EXPECT_STREQ(L"C:\\Music\\\u9752\\7.jpg", out);
}

TEST(FormatPath, TakesTheLongestPathThatFitsAndRefusesOneMore)
{
    wchar_t out[MAX_PATH];
    const std::wstring longest(MAX_PATH - 1, L'a');
    ASSERT_TRUE(FormatPath(out, L"%s", longest.c_str()));
    EXPECT_EQ(longest, out);

    lstrcpyW(out, L"stale");
    EXPECT_FALSE(FormatPath(out, L"%s%s", longest.c_str(), L"b"));
    EXPECT_STREQ(L"", out) << "a path that does not fit is never cut";
}

// Far past any buffer the formatter uses inside: still refused, never cut.
TEST(FormatPath, RefusesResultsManyTimesTooLong)
{
    wchar_t out[MAX_PATH];
    const std::wstring part(3 * MAX_PATH, L'x');
    lstrcpyW(out, L"stale");
    EXPECT_FALSE(FormatPath(out, L"%s\\%s", part.c_str(), part.c_str()));
    EXPECT_STREQ(L"", out);
}

}  // namespace
