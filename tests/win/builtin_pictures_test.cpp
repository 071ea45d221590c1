#include <gtest/gtest.h>
#include "render/held_picture.h"
#include "resources/resource_ids.h"
#include "state/gdiplus_session.h"
#include "support/test_support.h"

namespace {

// The pictures as the shipped module carries them, decoded to straight ARGB.
class BuiltinPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gdiplus = new GdiplusSession;
        module.reset(LoadLibraryExW((BinDir() + L"\\coverdeck.qpl").c_str(), NULL,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    }
    static void TearDownTestSuite()
    {
        module.reset();
        delete gdiplus;
    }
    void SetUp() override { ASSERT_TRUE(module) << "bin\\coverdeck.qpl not found"; }

    void Decode(int id)
    {
        ASSERT_EQ(1, holder.LoadFromResource(module.get(), MAKEINTRESOURCEW(id), L"PNG"));
        ASSERT_EQ(Gdiplus::Ok, DecodeHeldPicture(holder, &picture));
        UINT width = 0, height = 0;
        GdipGetImageWidth(picture.get(), &width);
        GdipGetImageHeight(picture.get(), &height);
        ASSERT_EQ(112u, width);
        ASSERT_EQ(112u, height);
    }
    Gdiplus::ARGB At(int x, int y) const
    {
        Gdiplus::ARGB colour = 0;
        GdipBitmapGetPixel(picture.get(), x, y, &colour);
        return colour;
    }
    int Alpha(int x, int y) const { return static_cast<int>(At(x, y) >> 24); }

    static GdiplusSession* gdiplus;
    static UniqueModule module;
    ImageStreamHolder holder;
    UniqueGdipBitmap picture;
};
GdiplusSession* BuiltinPictures::gdiplus;
UniqueModule BuiltinPictures::module;

// The generator's own check pins every pixel of the committed files; what
// only this test sees is that the shipped module carries them and that GDI+
// decodes them to the panel, shadow and gloss described, at a few points.
TEST_F(BuiltinPictures, ShippedBackgroundDecodesToAWhiteBorderedGreyPanelWithShadow)
{
    Decode(IDB_BACKGROUND);
    for (POINT border : {POINT{0, 0}, POINT{1, 60}, POINT{60, 0}, POINT{103, 60}, POINT{60, 103}})
        EXPECT_EQ(0xFFFFFFFFu, At(border.x, border.y)) << border.x << "," << border.y;
    for (POINT panel : {POINT{2, 2}, POINT{60, 60}, POINT{101, 101}})
        EXPECT_EQ(0xFFE0E0E0u, At(panel.x, panel.y)) << panel.x << "," << panel.y;
    EXPECT_EQ(0xB6000000u, At(104, 50)) << "black shadow, strongest at the panel";
    EXPECT_EQ(36, Alpha(108, 50));
    EXPECT_NEAR(182, Alpha(50, 104), 1) << "the bottom shadow mirrors the right one";
    EXPECT_EQ(0x00FFFFFFu, At(110, 110));
    EXPECT_EQ(0x00FFFFFFu, At(111, 0));
}

TEST_F(BuiltinPictures, ShippedOverlayDecodesToTwoWhiteGlossBandsDriftingLeft)
{
    Decode(IDB_OVERLAY);
    // Row 2 carries the bands at columns 9-17 and 25-41, peaking at alpha 64.
    for (int x : {8, 18, 24, 42})
        EXPECT_EQ(0, Alpha(x, 2)) << x;
    int peak = 0;
    for (int x = 9; x <= 41; ++x)
        peak = Alpha(x, 2) > peak ? Alpha(x, 2) : peak;
    EXPECT_EQ(64, peak);
    EXPECT_EQ(0x00FFFFFFu, At(30, 2) & 0x00FFFFFF) << "white";
    EXPECT_GT(Alpha(30, 2), 0);
    // Every two rows the bands move one pixel left; nothing above row 2 or below row 81.
    for (int x : {10, 16, 30})
        EXPECT_EQ(Alpha(x + 1, 2), Alpha(x, 4)) << x;
    EXPECT_EQ(0, Alpha(30, 1));
    EXPECT_EQ(0, Alpha(30, 90));
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
