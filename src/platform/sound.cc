#include "platform/sound.h"

#include <alsa/asoundlib.h>

#include <fstream>
#include <sstream>

namespace duri {
namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::string();
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A WAV file's numbers are little-endian.
uint16_t Little16(const std::string& s, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | (static_cast<uint8_t>(s[at + 1]) << 8));
}

uint32_t Little32(const std::string& s, size_t at) { return Little16(s, at) | (uint32_t{Little16(s, at + 2)} << 16); }

}  // namespace

bool ReadWavInfo(const std::string& bytes, WavInfo& info) {
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return false;
  size_t at = 12;
  bool have_format = false;
  while (at + 8 <= bytes.size()) {
    const std::string id = bytes.substr(at, 4);
    const uint32_t size = Little32(bytes, at + 4);
    const size_t body = at + 8;
    if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
      if (Little16(bytes, body) != 1) return false;  // PCM only
      info.channels = Little16(bytes, body + 2);
      info.sample_rate = static_cast<int>(Little32(bytes, body + 4));
      info.bits_per_sample = Little16(bytes, body + 14);
      have_format = true;
    } else if (id == "data") {
      info.data_offset = static_cast<long>(body);
      info.data_bytes = static_cast<long>(std::min<size_t>(size, bytes.size() - body));
      return have_format && info.channels > 0 && info.sample_rate > 0 &&
             (info.bits_per_sample == 8 || info.bits_per_sample == 16);
    }
    at = body + size + (size & 1);
  }
  return false;
}

AlsaSound::AlsaSound(std::string device) : device_(std::move(device)) {}

AlsaSound::~AlsaSound() { Wait(); }

void AlsaSound::Wait() {
  if (player_.joinable()) player_.join();
}

int AlsaSound::PlaybackDeviceCount() {
  int count = 0;
  int card = -1;
  while (snd_card_next(&card) == 0 && card >= 0) {
    snd_ctl_t* ctl = nullptr;
    const std::string name = "hw:" + std::to_string(card);
    if (snd_ctl_open(&ctl, name.c_str(), 0) < 0) continue;
    int device = -1;
    while (snd_ctl_pcm_next_device(ctl, &device) == 0 && device >= 0) {
      snd_pcm_info_t* info;
      snd_pcm_info_alloca(&info);
      snd_pcm_info_set_device(info, static_cast<unsigned>(device));
      snd_pcm_info_set_stream(info, SND_PCM_STREAM_PLAYBACK);
      if (snd_ctl_pcm_info(ctl, info) == 0) ++count;
    }
    snd_ctl_close(ctl);
  }
  return count;
}

bool AlsaSound::Play(const std::string& wav_path) {
  // The alert repeats every 15 seconds; a sound still playing is left to finish.
  if (playing_) return true;
  std::string bytes = ReadWhole(wav_path);
  WavInfo info;
  if (!ReadWavInfo(bytes, info)) return false;
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, device_.c_str(), SND_PCM_STREAM_PLAYBACK, 0) < 0) return false;
  const snd_pcm_format_t format = info.bits_per_sample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
  if (snd_pcm_set_params(pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED, static_cast<unsigned>(info.channels),
                         static_cast<unsigned>(info.sample_rate), 1, 500000) < 0) {
    snd_pcm_close(pcm);
    return false;
  }
  Wait();
  playing_ = true;
  player_ = std::thread([this, pcm, info, data = std::move(bytes)] {
    const long frame_bytes = info.channels * info.bits_per_sample / 8;
    long frames = info.data_bytes / frame_bytes;
    const char* p = data.data() + info.data_offset;
    long written = 0;
    while (written < frames) {
      snd_pcm_sframes_t n = snd_pcm_writei(pcm, p + written * frame_bytes, static_cast<snd_pcm_uframes_t>(frames - written));
      if (n < 0) n = snd_pcm_recover(pcm, static_cast<int>(n), 1);
      if (n < 0) break;
      written += n;
    }
    snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
    frames_played_ = written;
    playing_ = false;
  });
  return true;
}

}  // namespace duri
