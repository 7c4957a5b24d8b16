#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/FileSystem.h"
#include "runtime/Compound.h"
#include "runtime/Config.h"
#include "runtime/Files.h"
#include "runtime/Folders.h"
#include "runtime/Sounds.h"
#include "CompoundArchiveSupport.h"
#include "SoundFixture.h"
#include "support/TempFolder.h"

namespace media = testing_support;

namespace {

using SoundTest = SoundFixture;

TEST_F(SoundTest, StartSelectsTheConfiguredFormatAndWritesMissingDefaults) {
  WriteConfiguration("[DirectSound]\nChannels=2\n");
  ASSERT_TRUE(StartSoundDevice());
  EXPECT_TRUE(LogHas("DirectSound created\n"));
  EXPECT_TRUE(LogHas("DirectSound format selected (Format=1, Channels=2, SamplesPerSec=22050, BitsPerSample=16)\n"));
  EXPECT_TRUE(LogHas("DirectSound primary buffer started\nSound list created\nCD-audio is optional\n"));
  EXPECT_EQ(platform::testing::HeadlessAudioSpec().samplesPerSecond, 22050);
  EXPECT_EQ(platform::testing::HeadlessAudioSpec().channels, 2);
  ConfigurationHandle configuration = OpenConfiguration("Sound.ini", false);
  int32_t rate = 0;
  EXPECT_TRUE(ReadConfigurationInt(configuration, "DirectSound", "SamplesPerSec", rate));
  EXPECT_EQ(rate, 22050);
  CloseConfiguration(configuration);

  StopSoundDevice();
  EXPECT_TRUE(LogHas("Sound list deleted\n"));
  EXPECT_TRUE(LogHas("DirectSound released\n"));
  EXPECT_FALSE(platform::testing::HeadlessAudioOpen());
}

TEST_F(SoundTest, DisabledOrMissingSoundFollowsTheRequiredSetting) {
  struct Case {
    const char* settings;
    bool refuseOutput;
    bool started;
    const char* box;
  };
  const Case cases[] = {
      {"Enabled=False\n", false, true, "The sound is disabled: the game will run without sound\n"},
      {"Enabled=Off\nRequired=True\n", false, false, "The sound is disabled, but sound is required for the game\n"},
      {"", true, true, "Cannot create DirectSound: However, the game can run without sound (Error=88780078)\n"},
      {"Required=On\n", true, false, "Cannot create DirectSound (Error=88780078)\n"},
  };
  for (const Case& test : cases) {
    platform::testing::Reset();
    if (test.refuseOutput) {
      platform::testing::FailDeviceStart("audio output");
    }
    EXPECT_EQ(StartSound(test.settings), test.started) << test.settings;
    EXPECT_TRUE(BoxShown(test.box)) << test.settings;
    WriteSound("boom.wav", 10, 100);
    EXPECT_EQ(LoadSound(GameName("boom.wav").c_str()), nullptr) << test.settings;
    EXPECT_EQ(DuplicateSound(nullptr), nullptr);
    StopSoundDevice();
  }
}

TEST_F(SoundTest, RelativeNamesComeFromTheSoundFolderWithWaveExtension) {
  ASSERT_TRUE(StartSound());
  std::filesystem::create_directory("Sounds");
  WriteSound("Sounds/boom.wav", 10, 100);
  WriteSound("Sounds/crash.snd", 5, 100);
  const std::string folder = platform::GameFileName((testing_support::TestFolder() / "Sounds").string());
  ASSERT_TRUE(SetFolderName(FolderSound, folder.c_str()));

  SoundHandle boom = LoadSound("boom");
  ASSERT_NE(boom, nullptr);
  EXPECT_EQ(GetSoundSize(boom), 160);
  EXPECT_TRUE(LogHas("LoadSound() Sound loaded (Name=" + folder + "\\boom.wav"));
  SoundHandle crash = LoadSound("crash.snd");
  ASSERT_NE(crash, nullptr);
  EXPECT_EQ(GetSoundSize(crash), 80);

  EXPECT_EQ(LoadSound("thud"), nullptr);
  EXPECT_TRUE(LogHas("LoadSound() Cannot load sound from file (Name=" + folder + "\\thud.wav)\n"));
  EXPECT_TRUE(LogHas("(Name=" + folder + "\\thud.wav, Error=E100)\n"));
  EXPECT_EQ(LoadSound(nullptr), nullptr);
  EXPECT_TRUE(LogHas("LoadSound() Null pointer to the name specified\n"));
  SetFolderName(FolderSound, "");
}

TEST_F(SoundTest, GlobalArchiveEntryComesBeforeTheFileAndKeepsTheArchivePosition) {
  ASSERT_TRUE(StartSound());
  WriteSound("boom.wav", 20, 100);
  WriteSound("crash.wav", 5, 100);
  const testing_support::Bytes entry = testing_support::PcmWave(
      1, kRate, 16, testing_support::Samples16(std::vector<int16_t>(10 * kRate / 1000, 7)));
  compound_test::StoreBytes("Sounds.lmp",
                            compound_test::BuildArchive({{"BOOM.WAV", std::string(entry.begin(), entry.end())},
                                                         {"other", "xyz"}}));
  CompoundHandle archive = OpenCompound(GameName("Sounds.lmp").c_str(), false);
  ASSERT_NE(archive, nullptr);
  SetCompound(archive);
  const FileHandle file = GetCompoundFile(archive);
  ASSERT_EQ(SeekFile(file, 5, SeekModeStart), 5);

  SoundHandle boom = LoadSound(GameName("boom.wav").c_str());
  ASSERT_NE(boom, nullptr);
  EXPECT_EQ(GetSoundSize(boom), 160);  // the archive's 10 ms, not the file's 20 ms
  EXPECT_EQ(SeekFile(file, 0, SeekModeCurrent), 5);
  SoundHandle crash = LoadSound(GameName("crash.wav").c_str());
  ASSERT_NE(crash, nullptr);
  EXPECT_EQ(GetSoundSize(crash), 80);
  EXPECT_EQ(SeekFile(file, 0, SeekModeCurrent), 5);

  CloseCompound(archive);
}

TEST_F(SoundTest, PlayCountsPlayOnceLoopOrNothing) {
  ASSERT_TRUE(StartSound());
  WriteSound("beep.wav", 2, 3000);
  SoundHandle sound = LoadSound(GameName("beep.wav").c_str());
  ASSERT_NE(sound, nullptr);

  EXPECT_TRUE(PlaySound(sound, 0));
  EXPECT_FALSE(PlayingSound(sound));
  EXPECT_TRUE(Silent(Hear(5)));

  EXPECT_TRUE(PlaySound(sound, 3));
  std::vector<int16_t> heard = Hear(5);
  EXPECT_EQ(heard[15], 3000);
  EXPECT_EQ(heard[16], 0);
  EXPECT_FALSE(PlayingSound(sound));
  EXPECT_EQ(GetSoundPosition(sound), 0);
  // The single play ended at the start, so the next one is heard.
  EXPECT_TRUE(PlaySound(sound, 1));
  EXPECT_EQ(Hear(1)[0], 3000);
  Hear(5);

  EXPECT_TRUE(PlaySound(sound, -1));
  heard = Hear(40);
  EXPECT_EQ(heard.front(), 3000);
  EXPECT_EQ(heard.back(), 3000);
  EXPECT_TRUE(PlayingSound(sound));
  EXPECT_TRUE(StopSound(sound));
  EXPECT_TRUE(Silent(Hear(5)));
}

TEST_F(SoundTest, StopRewindsAndPauseKeepsThePlaceForResume) {
  ASSERT_TRUE(StartSound());
  WriteSound("long.wav", 100, 500);
  SoundHandle sound = LoadSound(GameName("long.wav").c_str());
  ASSERT_TRUE(PlaySound(sound, -1));
  Hear(10);
  EXPECT_TRUE(PauseSound(sound));
  EXPECT_EQ(GetSoundPosition(sound), 160);
  EXPECT_TRUE(Silent(Hear(10)));
  EXPECT_TRUE(ResumeSound(sound));
  Hear(5);
  EXPECT_EQ(GetSoundPosition(sound), 240);
  EXPECT_TRUE(PlayingSound(sound));
  EXPECT_TRUE(StopSound(sound));
  EXPECT_EQ(GetSoundPosition(sound), 0);
  EXPECT_EQ(SetSoundPosition(sound, 320), 320);
  EXPECT_EQ(SetSoundPosition(sound, 5000), -1);
  EXPECT_EQ(SetSoundPosition(sound, -2), -1);
  EXPECT_TRUE(LogHas("SetSoundPosition() Cannot set sound position (Name=" + GameName("long.wav") + ", Error=80070057)\n"));
}

TEST_F(SoundTest, VolumeAndPanAreClampedAndReadBackExactly) {
  ASSERT_TRUE(StartSound());
  WriteSound("tone.wav", 10, 100);
  SoundHandle sound = LoadSound(GameName("tone.wav").c_str());
  struct Case {
    int32_t given;
    int32_t volume;  // set and read back
    int32_t pan;
  };
  const Case cases[] = {{0, 0, 0}, {-37, -37, -37}, {-100, -100, -100}, {-150, -100, -100},
                        {25, 0, 25}, {150, 0, 100}, {-1, -1, -1}};
  for (const Case& test : cases) {
    EXPECT_EQ(SetSoundVolume(sound, test.given), test.volume) << test.given;
    EXPECT_EQ(GetSoundVolume(sound), test.volume) << test.given;
    EXPECT_EQ(SetSoundPan(sound, test.given), test.pan) << test.given;
    EXPECT_EQ(GetSoundPan(sound), test.pan) << test.given;
  }
}

TEST_F(SoundTest, DuplicatesShareTheSoundAndKeepTheirOwnPosition) {
  ASSERT_TRUE(StartSound());
  WriteSound("long.wav", 100, 500);
  SoundHandle original = LoadSound(GameName("long.wav").c_str());
  SetSoundVolume(original, -20);
  PlaySound(original, -1);
  SoundHandle copy = DuplicateSound(original);
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(LogHas("DuplicateSound() Sound duplicated (Name=" + GameName("long.wav")));
  EXPECT_EQ(GetSoundSize(copy), GetSoundSize(original));
  EXPECT_EQ(GetSoundVolume(copy), -20);
  EXPECT_FALSE(PlayingSound(copy));
  Hear(20);
  EXPECT_TRUE(ResumeSound(copy));  // the play count was copied: it loops
  Hear(5);
  EXPECT_EQ(GetSoundPosition(original), 25 * 16);
  EXPECT_EQ(GetSoundPosition(copy), 5 * 16);
  DestroySound(original);
  EXPECT_TRUE(PlayingSound(copy));
  EXPECT_EQ(Hear(1)[0], 50);
}

TEST_F(SoundTest, NonPcmSoundIsReadThenRefusedByTheMixer) {
  ASSERT_TRUE(StartSound());
  const media::Bytes extra = {1, 2};
  media::WriteBytes("adpcm.wav", media::List("RIFF", "WAVE",
                                             {media::Chunk("fmt ", media::WaveFormatData(2, 1, 8000, 4, &extra)),
                                              media::Chunk("data", {1, 2, 3, 4})}));
  EXPECT_EQ(LoadSound(GameName("adpcm.wav").c_str()), nullptr);
  EXPECT_TRUE(LogHas("LoadSound() Cannot create DirectSound buffer (Name=" + GameName("adpcm.wav") + ", Error=88780064)\n"));
}

TEST_F(SoundTest, NullHandlesAreLoggedWithTheFunctionsName) {
  ASSERT_TRUE(StartSound());
  EXPECT_FALSE(PlaySound(nullptr, 1));
  EXPECT_FALSE(StopSound(nullptr));
  EXPECT_FALSE(PauseSound(nullptr));
  EXPECT_FALSE(ResumeSound(nullptr));
  EXPECT_FALSE(PlayingSound(nullptr));
  EXPECT_EQ(GetSoundPosition(nullptr), -1);
  EXPECT_EQ(SetSoundPosition(nullptr, 0), -1);
  EXPECT_EQ(GetSoundSize(nullptr), 0);
  EXPECT_EQ(SetSoundVolume(nullptr, -5), 0);
  EXPECT_EQ(GetSoundPan(nullptr), 0);
  EXPECT_EQ(DuplicateSound(nullptr), nullptr);
  for (const char* function : {"PlaySound()", "StopSound()", "PauseSound()", "ResumeSound()", "PlayingSound()",
                               "GetSoundPosition()", "SetSoundPosition()", "GetSoundSize()", "SetSoundVolume()",
                               "GetSoundPan()", "DuplicateSound()"}) {
    EXPECT_TRUE(LogHas(std::string(function) + " Null pointer to the sound specified\n")) << function;
  }
}

}  // namespace
