// The pending-events alert. The station plays "\ORBA\Sounds\Notify.Wav" while events wait for an
// operator; playing never blocks the user-interface thread.
#ifndef DURIDUVAZE_PLATFORM_SOUND_H_
#define DURIDUVAZE_PLATFORM_SOUND_H_

#include <atomic>
#include <string>
#include <thread>

namespace duri {

class Sound {
 public:
  virtual ~Sound() = default;
  // Wave output devices of the system (sound cards with a playback device).
  virtual int PlaybackDeviceCount() = 0;
  // Starts playing a WAV file and returns at once; false when it cannot start.
  virtual bool Play(const std::string& wav_path) = 0;
};

// ALSA. device is an ALSA PCM name: "default" for the station, "null" or a file plug-in in tests.
class AlsaSound : public Sound {
 public:
  explicit AlsaSound(std::string device = "default");
  ~AlsaSound() override;
  int PlaybackDeviceCount() override;
  bool Play(const std::string& wav_path) override;
  // Waits for the sound being played, if any (tests and shutdown).
  void Wait();
  // Frames the last finished play wrote to the device.
  long frames_played() const { return frames_played_; }

 private:
  std::string device_;
  std::thread player_;
  std::atomic<bool> playing_{false};
  std::atomic<long> frames_played_{0};
};

// Audio description of a WAV file: PCM only.
struct WavInfo {
  int channels = 0;
  int sample_rate = 0;
  int bits_per_sample = 0;
  long data_offset = 0;
  long data_bytes = 0;
};
// Reads the RIFF header; false for anything but an uncompressed PCM WAV.
bool ReadWavInfo(const std::string& bytes, WavInfo& info);

}  // namespace duri

#endif  // DURIDUVAZE_PLATFORM_SOUND_H_
