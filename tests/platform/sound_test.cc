#include "platform/sound.h"

#include <gtest/gtest.h>

#include <string>

#include "store/coding.h"
#include "support/temp_dir.h"

namespace duri {
namespace {

std::string MakeWav(int channels, int rate, int bits, int frames) {
  const int data_bytes = frames * channels * bits / 8;
  std::string w(44 + static_cast<size_t>(data_bytes), '\0');
  auto* b = reinterpret_cast<uint8_t*>(w.data());
  std::memcpy(b, "RIFF", 4);
  EncodeFixed32(b + 4, static_cast<uint32_t>(36 + data_bytes));
  std::memcpy(b + 8, "WAVEfmt ", 8);
  EncodeFixed32(b + 16, 16);
  EncodeFixed16(b + 20, 1);
  EncodeFixed16(b + 22, static_cast<uint16_t>(channels));
  EncodeFixed32(b + 24, static_cast<uint32_t>(rate));
  EncodeFixed32(b + 28, static_cast<uint32_t>(rate * channels * bits / 8));
  EncodeFixed16(b + 32, static_cast<uint16_t>(channels * bits / 8));
  EncodeFixed16(b + 34, static_cast<uint16_t>(bits));
  std::memcpy(b + 36, "data", 4);
  EncodeFixed32(b + 40, static_cast<uint32_t>(data_bytes));
  return w;
}

TEST(SoundTest, WavHeadersAreReadOrRefused) {
  WavInfo info;
  ASSERT_TRUE(ReadWavInfo(MakeWav(2, 22050, 16, 100), info));
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.sample_rate, 22050);
  EXPECT_EQ(info.data_offset, 44);
  EXPECT_EQ(info.data_bytes, 400);
  EXPECT_FALSE(ReadWavInfo("", info));
  EXPECT_FALSE(ReadWavInfo("RIFF\0\0\0\0WAVE", info));
  std::string compressed = MakeWav(1, 8000, 16, 10);
  compressed[20] = 2;  // not PCM
  EXPECT_FALSE(ReadWavInfo(compressed, info));
  std::string cut = MakeWav(1, 8000, 16, 10).substr(0, 30);  // header torn before the data chunk
  EXPECT_FALSE(ReadWavInfo(cut, info));
}

// ALSA's null device plays for real, at the file's own pace, without a sound card.
TEST(SoundTest, PlaysAWholeFileOnTheNullDeviceWithoutBlocking) {
  testing::TempDir tmp;
  tmp.WriteFile("Notify.Wav", MakeWav(1, 8000, 16, 800));
  AlsaSound sound("null");
  ASSERT_TRUE(sound.Play(tmp.Join("Notify.Wav")));
  sound.Wait();
  EXPECT_EQ(sound.frames_played(), 800);
  EXPECT_FALSE(sound.Play(tmp.Join("missing.wav")));
  EXPECT_GE(sound.PlaybackDeviceCount(), 0);
}

}  // namespace
}  // namespace duri
