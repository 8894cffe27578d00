#include "decoders/take_message.h"

#include "store/shared_file.h"

namespace duri {

namespace {

std::string MonthKey(const DateRecord& today) {
  std::string month = std::to_string(today.month);
  if (month.size() < 2) month.insert(0, "0");
  return std::to_string(today.year) + month;
}

// Appends the message to the month's capture file, creating the month folder when the message is the
// month's first: the history creates it only after the message has been taken. The folder is made
// under the history's spelling so that the month has one folder whichever comes first.
void Capture(DataDir& dir, const DateRecord& today, std::string_view bytes) {
  const std::string path = CaptureFilePath(today);
  if (AppendTextLine(dir, path, bytes) != kIoPathNotFound) return;
  if (CreateDirectory(dir, "\\ORBA\\" + MonthKey(today) + ".EVT") != kIoOk) return;
  (void)AppendTextLine(dir, path, bytes);  // the capture is a convenience: a failure changes nothing
}

}  // namespace

std::string CaptureFilePath(const DateRecord& today) {
  return "\\ORBA\\" + MonthKey(today) + ".Evt\\event.txt";
}

std::string PeekMessageBytes(const PortState& state, uint8_t terminator) {
  std::string bytes;
  int index = state.read_index;
  if (index < 1 || index > PortState::kRingSize) index = 1;
  for (int taken = 0; taken < PortState::kRingSize; ++taken) {
    const uint8_t b = state.At(index);
    bytes.push_back(static_cast<char>(b));
    if (b == terminator) break;
    index = index >= PortState::kRingSize ? 1 : index + 1;
  }
  return bytes;
}

std::string TakeMessageBytes(PortState& state, uint8_t terminator, size_t capacity, DataDir* capture,
                             const DateRecord& today, int limit) {
  std::string kept;
  std::string captured;
  int index = state.read_index;
  if (index < 1 || index > PortState::kRingSize) index = 1;
  if (limit > PortState::kRingSize) limit = PortState::kRingSize;
  for (int taken = 0; taken < limit; ++taken) {
    uint8_t b = state.At(index);
    if (kept.size() < capacity) kept.push_back(static_cast<char>(b));
    if (capture != nullptr) captured.push_back(static_cast<char>(b));
    index = index >= PortState::kRingSize ? 1 : index + 1;
    if (b == terminator) break;
  }
  state.read_index = static_cast<int16_t>(index);
  if (capture != nullptr) {
    // The capture is a convenience for support staff: its outcome must not disturb the result the
    // shared-file steps of the event intake look at.
    int saved = capture->last_io_result;
    Capture(*capture, today, captured);
    capture->last_io_result = saved;
  }
  return kept;
}

}  // namespace duri
