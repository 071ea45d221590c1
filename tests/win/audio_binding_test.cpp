#include <gtest/gtest.h>
#include <string>
#include "cover/audio_binding.h"
#include "state/display_state.h"
#include "support/test_support.h"

namespace {

class AudioBinding : public ::testing::Test {
protected:
    void SetUp() override
    {
        displayState.AudioLibrary = {};
        ASSERT_EQ(NULL, GetModuleHandleA("bass.dll")) << "the test starts without the library";
    }
    void TearDown() override { displayState.AudioLibrary = {}; }
};

TEST_F(AudioBinding, WithoutTheLibraryNothingIsBound)
{
    EXPECT_EQ(0, BindAudioLibrary());
    EXPECT_EQ(nullptr, displayState.AudioLibrary.BASS_GetVersion);
    EXPECT_EQ(nullptr, displayState.AudioLibrary.BASS_ChannelGetInfo);
    EXPECT_EQ(nullptr, displayState.AudioLibrary.BASS_ChannelGetTags);
}

TEST_F(AudioBinding, BindsAllThreeFromTheLoadedLibraryWithoutKeepingItLoaded)
{
    UniqueModule library(LoadLibraryW((BinDir() + L"\\bass.dll").c_str()));
    ASSERT_TRUE(library);
    EXPECT_EQ(1, BindAudioLibrary());
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(library.get(), "BASS_GetVersion")),
              reinterpret_cast<void*>(displayState.AudioLibrary.BASS_GetVersion));
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(library.get(), "BASS_ChannelGetInfo")),
              reinterpret_cast<void*>(displayState.AudioLibrary.BASS_ChannelGetInfo));
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(library.get(), "BASS_ChannelGetTags")),
              reinterpret_cast<void*>(displayState.AudioLibrary.BASS_ChannelGetTags));

    // Freeing our one load unloads it: the binding took no reference.
    library.reset();
    EXPECT_EQ(NULL, GetModuleHandleA("bass.dll"));
}

TEST_F(AudioBinding, LibraryWithoutTagsLeavesTheEarlierSlotsBound)
{
    UniqueModule library(LoadLibraryW((BinDir() + L"\\notags\\bass.dll").c_str()));
    ASSERT_TRUE(library);
    EXPECT_EQ(0, BindAudioLibrary());
    EXPECT_NE(nullptr, displayState.AudioLibrary.BASS_GetVersion);
    EXPECT_NE(nullptr, displayState.AudioLibrary.BASS_ChannelGetInfo);
    EXPECT_EQ(nullptr, displayState.AudioLibrary.BASS_ChannelGetTags);

    library.reset();
    EXPECT_EQ(NULL, GetModuleHandleA("bass.dll"));
}

}  // namespace
