#include "intake/framing.h"

namespace duri {
namespace {

constexpr const char* kControlNames[32] = {
    "<NUL>", "<SOH>", "<STX>", "<ETX>", "<EOT>", "<ENQ>", "<ACK>", "<BEL>", "<BS>",  "<HT>",  "<LF>",
    "<VT>",  "<NP>",  "<CR>",  "<SO>",  "<SI>",  "<DLE>", "<DC1>", "<DC2>", "<DC3>", "<DC4>", "<NAK>",
    "<SYN>", "<ETB>", "<CAN>", "<EM>",  "<SUB>", "<ESC>", "<FS>",  "<GS>",  "<RS>",  "<US>",
};
constexpr char kHeartbeatMark = '@';
constexpr char kLineEnd[] = "\r\n";

int16_t NextPosition(int position) {
  return static_cast<int16_t>(position >= PortState::kRingSize ? 1 : position + 1);
}

// The position where the message ended by the terminator just stored begins: past the terminators of
// the messages already counted and not yet decoded.
int16_t MessageStart(const PortState& state) {
  int16_t p = state.read_index;
  int remaining = state.complete_count;
  for (int steps = 0; remaining > 0 && steps < PortState::kRingSize; ++steps) {
    if (state.At(p) == state.terminator) --remaining;
    p = NextPosition(p);
  }
  return p;
}

// Bytes framed and not yet decoded: from the read index to the write index, the whole ring when they
// meet while a message waits or one is under way.
int WaitingBytes(const PortState& state) {
  int n = state.write_index - state.read_index;
  if (n < 0) n += PortState::kRingSize;
  if (n == 0 && (state.complete_count > 0 || state.partial_length > 0)) n = PortState::kRingSize;
  return n;
}

}  // namespace

std::string ControlCharName(uint8_t code) {
  if (code < 32) return kControlNames[code];
  if (code == 255) return {};
  return std::string(1, static_cast<char>(code));
}

bool FrameBytes(std::string_view bytes, PortState& state, const ReceiverConfig& config,
                const std::function<LineErrors()>& line_errors, std::string& traffic, std::string& memo,
                PortCounters* counters) {
  bool memo_changed = false;
  int waiting = WaitingBytes(state);
  for (char c : bytes) {
    const uint8_t b = static_cast<uint8_t>(c);
    // No check against the read index: more than 1024 bytes without a decode overwrite the oldest, and
    // each such byte is counted as lost.
    if (waiting >= PortState::kRingSize) {
      if (counters != nullptr && state.synchronised != 0) counters->Drop(DropReason::kOverflow);
    } else {
      ++waiting;
    }
    state.At(state.write_index) = b;
    state.write_index = NextPosition(state.write_index);
    if (b != state.terminator) {
      if (state.partial_length < PortState::kRingSize) ++state.partial_length;
      traffic += ControlCharName(b);
      continue;
    }
    state.partial_length = 0;
    if (state.synchronised == 0) {
      // The first terminator after a reset only synchronises: what came before it is dropped.
      traffic += kSynchroMark;
      state.write_index = 1;
      state.read_index = 1;
      waiting = 0;
    } else if (line_errors() == 0) {
      traffic += ControlCharName(b);
      traffic += kLineEnd;
      ++state.complete_count;
    } else {
      state.write_index = MessageStart(state);
      waiting = WaitingBytes(state);
      if (counters != nullptr) counters->Drop(DropReason::kLineError);
    }
    if (traffic.find(kHeartbeatMark) == std::string::npos || config.show_heartbeat == 1 ||
        state.synchronised == 0) {
      state.synchronised = 1;
      memo = traffic + memo.substr(0, kTrafficHistory);
      memo_changed = true;
    }
    traffic.clear();
  }
  return memo_changed;
}

bool ReadAndFrame(PortLink& port, PortState& state, const ReceiverConfig& config, std::string& traffic,
                  std::string& memo, PortCounters* counters) {
  std::string bytes;
  port.ReadStr(bytes, port.InputCount());
  return FrameBytes(bytes, state, config, [&port] { return port.LastErrors(); }, traffic, memo, counters);
}

void SkipMessage(PortState& state) {
  for (int steps = 0; steps < PortState::kRingSize; ++steps) {
    uint8_t b = state.At(state.read_index);
    state.read_index = NextPosition(state.read_index);
    if (b == state.terminator) break;
  }
}

}  // namespace duri
