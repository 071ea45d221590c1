#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "render/gdiplus_flat.h"
#include "resources/resource_ids.h"
#include <string.h>
#include <utility>
#include "state/display_state.h"
#include "state/gdiplus_session.h"
#include "state/owners.h"
#include "state/picture_buffer.h"
#include "state/picture_limits.h"
#include "support/leak_counters.h"
#include "support/test_support.h"

namespace {

// The held bytes, read through the stream from where it stands.
std::vector<unsigned char> Contents(const ImageStreamHolder& holder)
{
    std::vector<unsigned char> bytes;
    IStream* stream = holder.GetStream();
    if (!stream)
        return bytes;
    unsigned char chunk[4096];
    ULONG read = 0;
    while (stream->Read(chunk, sizeof(chunk), &read) == S_OK && read > 0)
        bytes.insert(bytes.end(), chunk, chunk + read);
    return bytes;
}

ULONGLONG StreamSize(const ImageStreamHolder& holder)
{
    STATSTG stat = {};
    if (!holder.GetStream() || holder.GetStream()->Stat(&stat, STATFLAG_NONAME) != S_OK)
        return ~ULONGLONG(0);
    return stat.cbSize.QuadPart;
}

std::vector<unsigned char> Pattern(size_t size)
{
    std::vector<unsigned char> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + 3);
    return bytes;
}

// An empty holder releases harmlessly; a full one holds its own copy and
// releases it once, however often asked.
TEST(ImageStreamHolder, HoldsItsOwnExactCopyFromTheFirstByte)
{
    std::vector<unsigned char> bytes = Pattern(5000);
    ImageStreamHolder holder;
    EXPECT_TRUE(holder.GetStream() == NULL);
    holder.Release();
    EXPECT_TRUE(holder.GetStream() == NULL);
    ASSERT_EQ(1, holder.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())));
    bytes.assign(bytes.size(), 0);  // the caller frees or reuses its buffer
    EXPECT_EQ(5000u, StreamSize(holder));
    EXPECT_EQ(Pattern(5000), Contents(holder));
    holder.Release();
    holder.Release();
    EXPECT_TRUE(holder.GetStream() == NULL);
}

// Wine 8's stream over a global block hands out bytes from beyond its end
// after a seek past it; its JPEG decoder makes such seeks on corrupt input.
TEST(ImageStreamHolder, ReadsNothingAfterASeekPastTheEnd)
{
    std::vector<unsigned char> bytes = Pattern(100);
    ImageStreamHolder holder;
    ASSERT_EQ(1, holder.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())));
    IStream* stream = holder.GetStream();
    for (LONGLONG beyond : {100, 101, 164, 4096, 1 << 20}) {
        LARGE_INTEGER to;
        to.QuadPart = beyond;
        ULARGE_INTEGER at = {};
        ASSERT_EQ(S_OK, stream->Seek(to, STREAM_SEEK_SET, &at)) << beyond;
        EXPECT_EQ(static_cast<ULONGLONG>(beyond), at.QuadPart);
        unsigned char chunk[256];
        ULONG read = 12345;
        stream->Read(chunk, sizeof chunk, &read);
        EXPECT_EQ(0u, read) << "read after a seek to " << beyond;
    }
}

// The seeks above are what Wine's JPEG decoder makes on a start marker
// followed by noise; decoding such covers must neither crash nor leak.
TEST(ImageStreamHolder, JpegStartFollowedByNoiseDecodesSafely)
{
    GdiplusSession gdiplus;
    unsigned seed = 1;
    for (int round = 0; round < 40; ++round) {
        std::vector<unsigned char> bytes = {0xFF, 0xD8, 0xFF};
        for (int i = 0; i < 600 + round * 50; ++i) {
            seed = seed * 1103515245u + 12345u;
            bytes.push_back(static_cast<unsigned char>(seed >> 16));
        }
        ImageStreamHolder holder;
        ASSERT_EQ(1, holder.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())));
        UniqueGdipBitmap picture;
        GdipCreateBitmapFromStream(holder.GetStream(), picture.put());
    }
}

TEST(ImageStreamHolder, ReadsAFileWhole)
{
    TempFolder folder;
    const std::wstring path = folder / L"cover.jpg";
    ASSERT_TRUE(WriteBytes(path, Pattern(70000)));
    ImageStreamHolder holder;
    ASSERT_EQ(1, holder.LoadFromFile(path.c_str()));
    EXPECT_EQ(70000u, StreamSize(holder));
    EXPECT_EQ(Pattern(70000), Contents(holder));
}

TEST(ImageStreamHolder, ZeroBytesLoadAsAnEmptyStream)
{
    TempFolder folder;
    const std::wstring path = folder / L"folder.jpg";
    ASSERT_TRUE(WriteBytes(path, {}));
    ImageStreamHolder fromFile, fromMemory;
    EXPECT_EQ(1, fromFile.LoadFromFile(path.c_str()));
    EXPECT_EQ(1, fromMemory.LoadFromMemory("", 0));
    for (ImageStreamHolder* holder : {&fromFile, &fromMemory}) {
        ASSERT_TRUE(holder->GetStream() != NULL);
        STATSTG stat = {};
        ASSERT_EQ(S_OK, holder->GetStream()->Stat(&stat, STATFLAG_NONAME));
        EXPECT_EQ(0u, stat.cbSize.QuadPart);
    }
}

TEST(ImageStreamHolder, UnreadableFilesLeaveTheHolderEmpty)
{
    TempFolder folder;
    ImageStreamHolder holder;
    EXPECT_EQ(0, holder.LoadFromFile(folder.path().c_str())) << "a folder";
    EXPECT_EQ(0, holder.LoadFromFile((folder / L"missing.jpg").c_str()));
    EXPECT_TRUE(holder.GetStream() == NULL);

    const std::wstring path = folder / L"cover.jpg";
    ASSERT_TRUE(WriteBytes(path, Pattern(100)));
    UniqueHandle writer(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
    ASSERT_TRUE(writer);
    EXPECT_EQ(0, holder.LoadFromFile(path.c_str())) << "held open for writing";
    EXPECT_TRUE(holder.GetStream() == NULL);
    writer.reset();
    EXPECT_EQ(1, holder.LoadFromFile(path.c_str())) << "loadable once closed";
}

TEST(ImageStreamHolder, LoadsModuleResourcesByNumber)
{
    HMODULE module = GetModuleHandleW(NULL);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDB_OVERLAY), L"PNG");
    ASSERT_TRUE(resource != NULL);
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, resource)));
    ImageStreamHolder holder, missing;
    ASSERT_EQ(1, holder.LoadFromResource(module, MAKEINTRESOURCEW(IDB_OVERLAY), L"PNG"));
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + SizeofResource(module, resource)), Contents(holder));
    EXPECT_EQ(0, missing.LoadFromResource(module, MAKEINTRESOURCEW(999), L"PNG"));
    EXPECT_TRUE(missing.GetStream() == NULL);
}

// Loads are made on empty holders only; one that is not keeps its picture
// rather than losing track of it.
TEST(ImageStreamHolder, LoadOnAFullHolderKeepsThePictureItHas)
{
    const std::vector<unsigned char> first = Pattern(10), second = Pattern(20);
    ImageStreamHolder holder;
    ASSERT_EQ(1, holder.LoadFromMemory(first.data(), 10));
    EXPECT_EQ(0, holder.LoadFromMemory(second.data(), 20));
    // An adopted picture is freed instead.
    const LeakCounts before = TakeLeakCounts();
    EXPECT_EQ(0, holder.AdoptPicture(PictureBuffer::Zeroed(20)));
    EXPECT_EQ(before.heapBlocks, TakeLeakCounts().heapBlocks);
    EXPECT_EQ(first, Contents(holder));
}

// An embedded picture's block becomes the stream's own: no second copy, so
// the very block handed in stays allocated under the stream.
TEST(ImageStreamHolder, AdoptsAPictureBlockAsItIs)
{
    const std::vector<unsigned char> bytes = Pattern(300);
    PictureBuffer picture = PictureBuffer::Zeroed(bytes.size());
    ASSERT_NE(nullptr, picture.data());
    memcpy(picture.data(), bytes.data(), bytes.size());
    const void* block = picture.data();
    ImageStreamHolder holder;
    ASSERT_EQ(1, holder.AdoptPicture(std::move(picture)));
    EXPECT_EQ(bytes.size(), HeapSize(GetProcessHeap(), 0, block));
    EXPECT_EQ(bytes, Contents(holder));
}

TEST(ImageStreamHolder, FilesOverTheLimitAreNotLoaded)
{
    TempFolder folder;
    const std::wstring path = folder / L"folder.jpg";
    for (LONGLONG size : {LONGLONG(LARGEST_PICTURE_BYTES), LONGLONG(LARGEST_PICTURE_BYTES) + 1}) {
        {
            UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
            LARGE_INTEGER end;
            end.QuadPart = size;
            ASSERT_TRUE(SetFilePointerEx(file.get(), end, NULL, FILE_BEGIN) && SetEndOfFile(file.get()));
        }
        ImageStreamHolder holder;
        EXPECT_EQ(size <= LARGEST_PICTURE_BYTES ? 1 : 0, holder.LoadFromFile(path.c_str())) << size;
    }
}

TEST(ImageStreamHolder, TenThousandCyclesLeaveNoBlockOrHandle)
{
    TempFolder folder;
    const std::wstring path = folder / L"cover.jpg";
    const std::vector<unsigned char> bytes = Pattern(3000);
    ASSERT_TRUE(WriteBytes(path, bytes));
    ImageStreamHolder holder;
    auto cycle = [&](int i) {
        int loaded = (i % 2) ? holder.LoadFromFile(path.c_str())
                             : holder.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
        holder.Release();
        return loaded;
    };
    cycle(0);
    cycle(1);
    const LeakCounts before = TakeLeakCounts();
    int loads = 0;
    for (int i = 0; i < 10000; ++i)
        loads += cycle(i);
    const LeakCounts after = TakeLeakCounts();
    EXPECT_EQ(10000, loads);
    EXPECT_EQ(before.heapBlocks, after.heapBlocks);
    EXPECT_EQ(before.kernelHandles, after.kernelHandles);
    EXPECT_LE(after.privateBytes, before.privateBytes + 64 * 1024);
}

}  // namespace
