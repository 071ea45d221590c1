#include <gtest/gtest.h>
#include <vector>
#include "cover/bass_interface.h"
#include "cover/embedded_picture.h"
#include "state/display_state.h"
#include "state/owners.h"
#include "support/tag_builder.h"

namespace {

const Bytes PICTURE = {0xFF, 0xD8, 0xFF, 0xE0, 0x01, 0x02, 0xFF, 0xD9};
const Bytes TAG = Tag(3, 0, Frame3("APIC", Apic(PICTURE)));

// What the fake library is asked and answers.
struct FakeLibrary {
    DWORD channelType = BASS_CTYPE_STREAM_MP3;
    BOOL infoResult = TRUE;
    const Bytes* tag = &TAG;
    const unsigned char* served = NULL;  // when set, served instead of `tag`
    bool recordWasZero = false;
    DWORD infoChannel = 0, tagsChannel = 0, tagsType = 0;
    int tagsCalls = 0;
} fake;

BOOL WINAPI FakeChannelGetInfo(DWORD handle, BassChannelInfo* info)
{
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(info);
    fake.recordWasZero = Bytes(raw, raw + sizeof(*info)) == Bytes(sizeof(*info), 0);
    fake.infoChannel = handle;
    if (fake.infoResult)
        info->ctype = fake.channelType;
    return fake.infoResult;
}

const char* WINAPI FakeChannelGetTags(DWORD handle, DWORD tags)
{
    fake.tagsChannel = handle;
    fake.tagsType = tags;
    ++fake.tagsCalls;
    if (fake.served)
        return reinterpret_cast<const char*>(fake.served);
    return fake.tag ? reinterpret_cast<const char*>(fake.tag->data()) : NULL;
}

class EmbeddedPicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake = FakeLibrary();
        displayState.AudioLibrary = AudioEntryPoints{NULL, FakeChannelGetInfo, FakeChannelGetTags};
    }
    void TearDown() override { displayState.AudioLibrary = AudioEntryPoints{}; }

    PictureBuffer picture;
};

TEST_F(EmbeddedPicture, Mp3ChannelGivesPictureInAProcessHeapBlock)
{
    ASSERT_EQ(1, ExtractEmbeddedPicture(7, &picture));
    EXPECT_TRUE(fake.recordWasZero);
    EXPECT_EQ(7u, fake.infoChannel);
    EXPECT_EQ(7u, fake.tagsChannel);
    EXPECT_EQ(1u, fake.tagsType);
    ASSERT_NE(nullptr, picture.data());
    EXPECT_EQ(PICTURE, Bytes(picture.data(), picture.data() + picture.length()));
    // A heap block of exactly the picture, which the cover holder adopts.
    EXPECT_EQ(static_cast<SIZE_T>(picture.length()), HeapSize(GetProcessHeap(), 0, picture.data()));
}

TEST_F(EmbeddedPicture, OtherChannelTypesGiveNothingEvenWithApic)
{
    for (DWORD type : {0x10002u, 0x10004u, 0x10006u, 0u}) {
        fake.channelType = type;
        EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture)) << type;
    }
    // A failed call leaves the zero-filled record, which is no MP3 stream either.
    fake.channelType = BASS_CTYPE_STREAM_MP3;
    fake.infoResult = FALSE;
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    EXPECT_EQ(nullptr, picture.data());
    EXPECT_EQ(0, fake.tagsCalls);
}

TEST_F(EmbeddedPicture, UnboundEntryPointsGiveNothing)
{
    displayState.AudioLibrary.BASS_ChannelGetTags = NULL;
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    EXPECT_EQ(0, ExtractApicFromTag(7, &picture));
    displayState.AudioLibrary = AudioEntryPoints{NULL, NULL, FakeChannelGetTags};
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    EXPECT_EQ(nullptr, picture.data());
    EXPECT_EQ(0, fake.tagsCalls);
}

TEST_F(EmbeddedPicture, MissingOrForeignTagBlockGivesNothing)
{
    fake.tag = NULL;
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    Bytes notId3 = TAG;
    notId3[0] = 'T';
    fake.tag = &notId3;
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    EXPECT_EQ(nullptr, picture.data());
}

// Two pages, the second no-access; the first `held` bytes of `tag` end where
// it begins, so any read past them faults.
unsigned char* AtPageEnd(const Bytes& tag, size_t held, UniqueVirtualMemory* pages)
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    DWORD page = system.dwPageSize;
    pages->reset(VirtualAlloc(NULL, 2 * page, MEM_COMMIT, PAGE_READWRITE));
    unsigned char* base = static_cast<unsigned char*>(pages->get());
    DWORD old;
    VirtualProtect(base + page, page, PAGE_NOACCESS, &old);
    memcpy(base + page - held, tag.data(), held);
    return base + page - held;
}

TEST_F(EmbeddedPicture, TopBitsInTheTagSizeNeverReadPastTheHeldBlock)
{
    // A 186-byte picture that fits the unmasked size but not the 127 bytes
    // that the library holds for it.
    const Bytes apic = Frame3("APIC", Apic(Bytes(186, 0x55)));
    for (Bytes size : {Bytes{0, 0, 0, 0xFF}, Bytes{0x80, 0, 0, 0x7F}}) {
        Bytes tag = Text("ID3") + Bytes{3, 0, 0} + size + apic;
        UniqueVirtualMemory pages;
        fake.served = AtPageEnd(tag, 10 + 127, &pages);
        EXPECT_EQ(0, ExtractApicFromTag(7, &picture));
        EXPECT_EQ(nullptr, picture.data());
    }
}

}  // namespace
