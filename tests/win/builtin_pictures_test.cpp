#include <gtest/gtest.h>
#include <stdlib.h>
#include <functional>
#include "render/held_picture.h"
#include "resources/resource_ids.h"
#include "support/test_support.h"
#include "window/gdiplus_session.h"

namespace {

// The pictures as the shipped module carries them, decoded to straight ARGB.
class BuiltinPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gdiplus = new GdiplusSession;
        module = LoadLibraryExW((BinDir() + L"\\coverdeck.qpl").c_str(), NULL,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite()
    {
        if (module)
            FreeLibrary(module);
        delete gdiplus;
    }
    void SetUp() override { ASSERT_TRUE(module != NULL) << "bin\\coverdeck.qpl not found"; }
    void TearDown() override
    {
        if (picture)
            GdipDisposeImage(picture);
    }

    void Decode(int id)
    {
        ASSERT_EQ(1, holder.LoadFromResource(module, MAKEINTRESOURCEW(id), L"PNG"));
        ASSERT_EQ(Gdiplus::Ok, DecodeHeldPicture(holder, &picture));
        UINT width = 0, height = 0;
        GdipGetImageWidth(picture, &width);
        GdipGetImageHeight(picture, &height);
        ASSERT_EQ(112u, width);
        ASSERT_EQ(112u, height);
    }
    Gdiplus::ARGB At(int x, int y) const
    {
        Gdiplus::ARGB colour = 0;
        GdipBitmapGetPixel(picture, x, y, &colour);
        return colour;
    }
    int Alpha(int x, int y) const { return static_cast<int>(At(x, y) >> 24); }

    static GdiplusSession* gdiplus;
    static HMODULE module;
    ImageStreamHolder holder;
    GpBitmap* picture = NULL;
};
GdiplusSession* BuiltinPictures::gdiplus;
HMODULE BuiltinPictures::module;

TEST_F(BuiltinPictures, StoredAsEightBitRgbaWithoutInterlace)
{
    for (int id : {IDB_BACKGROUND, IDB_OVERLAY}) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
        ASSERT_TRUE(found != NULL);
        const auto* png = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
        ASSERT_GT(SizeofResource(module, found), 29u);
        EXPECT_EQ(0, memcmp(png + 12, "IHDR", 4));
        EXPECT_EQ(8, png[24]) << id;   // bit depth
        EXPECT_EQ(6, png[25]) << id;   // colour type RGBA
        EXPECT_EQ(0, png[28]) << id;   // not interlaced
    }
}

TEST_F(BuiltinPictures, BackgroundPanelIsWhiteBorderedGreySquare)
{
    Decode(IDB_BACKGROUND);
    for (int i = 0; i < 104; ++i) {
        const bool border = i < 2 || i > 101;
        EXPECT_EQ(0xFFFFFFFFu, At(i, 0));
        EXPECT_EQ(0xFFFFFFFFu, At(1, i));
        EXPECT_EQ(0xFFFFFFFFu, At(103, i));
        EXPECT_EQ(border ? 0xFFFFFFFFu : 0xFFE0E0E0u, At(i, 60)) << i;
    }
    EXPECT_EQ(0xFFE0E0E0u, At(2, 2));
    EXPECT_EQ(0xFFE0E0E0u, At(101, 101));
}

TEST_F(BuiltinPictures, RightShadowFadesSymmetricallyAlongItsLength)
{
    Decode(IDB_BACKGROUND);
    const int full[5] = {182, 145, 109, 72, 36};
    const int innermost[7] = {36, 62, 88, 114, 140, 166, 176};
    const int firstRow[5] = {36, 25, 15, 5, 0};
    const int lastRow[5] = {15, 10, 5, 0, 0};
    for (int j = 0; j < 5; ++j) {
        for (int row = 7; row <= 100; ++row)
            ASSERT_EQ(full[j], Alpha(104 + j, row)) << "column " << 104 + j << " row " << row;
        EXPECT_EQ(firstRow[j], Alpha(104 + j, 0));
        EXPECT_EQ(lastRow[j], Alpha(104 + j, 108));
        EXPECT_EQ(0u, At(104 + j, 50) & 0x00FFFFFF) << "shadow is black";
    }
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(innermost[k], Alpha(104, k));
        for (int j = 0; j < 5; ++j) {
            EXPECT_EQ(Alpha(104 + j, k), Alpha(104 + j, 107 - k)) << "k " << k;
            EXPECT_LE(Alpha(104 + j, k), full[j]);
            if (j > 0) {
                EXPECT_LT(Alpha(104 + j, k), Alpha(103 + j, k)) << "fades outward";
            }
        }
    }
}

TEST_F(BuiltinPictures, BottomShadowIsTheRightOneTransposedAndTheRestIsClear)
{
    Decode(IDB_BACKGROUND);
    for (int along = 0; along <= 108; ++along)
        for (int j = 0; j < 5; ++j)
            ASSERT_LE(abs(Alpha(104 + j, along) - Alpha(along, 104 + j)), 1) << along << "," << j;
    for (int y = 0; y < 112; ++y)
        for (int x = 0; x < 112; ++x)
            if (x > 108 || y > 108) {
                ASSERT_EQ(0x00FFFFFFu, At(x, y)) << x << "," << y;
            }
}

// Columns that carry any alpha, as [first, last] runs.
std::vector<std::pair<int, int>> Runs(const std::function<int(int)>& alpha)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < 112; ++x) {
        if (alpha(x) == 0)
            continue;
        if (!runs.empty() && runs.back().second == x - 1)
            runs.back().second = x;
        else
            runs.push_back({x, x});
    }
    return runs;
}

TEST_F(BuiltinPictures, OverlayGlossBandsRiseToTheirPeakAndDriftLeftEveryTwoRows)
{
    Decode(IDB_OVERLAY);
    for (int y = 0; y < 112; ++y) {
        for (int x = 0; x < 112; ++x) {
            ASSERT_EQ(0x00FFFFFFu, At(x, y) & 0x00FFFFFF) << "white " << x << "," << y;
            ASSERT_LE(Alpha(x, y), 64) << x << "," << y;
            if (x < 2 || y < 2 || y > 81) {
                ASSERT_EQ(0, Alpha(x, y)) << x << "," << y;
            }
        }
    }
    auto row = [this](int y) { return Runs([this, y](int x) { return Alpha(x, y); }); };
    auto top = row(2);
    ASSERT_EQ(2u, top.size());
    EXPECT_EQ(std::make_pair(9, 17), top[0]);
    EXPECT_EQ(std::make_pair(25, 41), top[1]);
    const struct { int first, last, rise; } bands[] = {{9, 17, 8}, {25, 41, 4}};
    for (const auto& band : bands) {
        int peak = band.first;
        for (int x = band.first; x <= band.last; ++x)
            if (Alpha(x, 2) > Alpha(peak, 2))
                peak = x;
        EXPECT_EQ(64, Alpha(peak, 2));
        EXPECT_GE(peak, band.last - 2) << "falls back to 0 within two pixels";
        for (int x = band.first + 1; x <= peak; ++x)
            EXPECT_NEAR(band.rise, Alpha(x, 2) - Alpha(x - 1, 2), 1) << x;
    }
    for (int y = 3; y <= 81; ++y) {
        const int shift = (y - 2) / 2;
        for (int x = 2; x < 112; ++x) {
            ASSERT_EQ(x + shift < 112 ? Alpha(x + shift, 2) : 0, Alpha(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(2u, row(33).size());
    EXPECT_EQ(1u, row(34).size()) << "narrow band ends on row 33";
    EXPECT_FALSE(row(81).empty());
}

TEST(VersionRecord, FileAndProductVersionOneAndNoStringTable)
{
    const std::wstring module = BinDir() + L"\\coverdeck.qpl";
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(module.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> record(size);
    ASSERT_TRUE(GetFileVersionInfoW(module.c_str(), 0, size, record.data()));
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(0x00010000u, fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);
    void* translations = NULL;
    EXPECT_FALSE(VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", &translations, &length) &&
                 length > 0);
    wchar_t* text = NULL;
    EXPECT_FALSE(VerQueryValueW(record.data(), L"\\StringFileInfo\\000004b0\\FileVersion",
                                reinterpret_cast<void**>(&text), &length) && length > 0);
}

}  // namespace
