// The stack's backlog, \ORBA\EVT.BKL: pending-stack entries that EVT.STK refused (all 175 slots in use)
// or could not take (the file could not be opened, read or written). The stack keeps its 175 entries
// for the operators' application, so an entry that finds no place waits here, on disk, in arrival order,
// and goes in as slots free: before every new insertion and at every 15-second tick. It is written and
// flushed before the receiver's acknowledgement, so an acknowledged alarm that needs an operator is
// always either on the stack or in this file, whatever happens to the station afterwards.
//
// One file for all stations sharing the data directory, opened deny-write like the stack itself and
// always after it (stack first, then backlog), so the drain and the queueing of every station are
// serialised and no two stations can deadlock. Whichever station runs next drains what another one
// queued, so the queue of a station that never comes back is emptied by the others' ticks, or by the
// next station to start. Layout and rules: docs/stack-backlog.md.
#ifndef DURIDUVAZE_EVENTS_STACK_BACKLOG_H_
#define DURIDUVAZE_EVENTS_STACK_BACKLOG_H_

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "events/stack.h"
#include "store/data_dir.h"

namespace duri {

inline constexpr std::string_view kStackBacklogFile = "\\ORBA\\EVT.BKL";

// One 16-byte record per entry, appended; a landed entry is marked in place, and the file is cut to
// nothing once every record has landed.
struct BacklogRecord {
  static constexpr int kSize = 16;
  static constexpr int kStateOffset = 0;     // kWaiting or kLanded
  static constexpr int kReservedOffset = 1;  // 0
  static constexpr int kEntryOffset = 2;     // the StackEntry, 14 bytes as in EVT.STK
  static constexpr uint8_t kWaiting = 'W';
  static constexpr uint8_t kLanded = 'L';

  uint8_t state = kWaiting;
  StackEntry entry;

  void Encode(uint8_t* dst) const;
  // False when the state byte is neither kWaiting nor kLanded (a damaged record).
  bool Decode(const uint8_t* src);
};

// A new entry for the stack, with its line's duplicate-test switch.
struct NewStackEntry {
  StackEntry entry;
  bool duplicate_test = false;
};

// What the station keeps between updates: only what it last showed and reported.
struct StackBacklog {
  int shown = -1;                // the waiting count last shown on the window
  bool damage_reported = false;  // a damaged EVT.STK was reported and not yet seen whole again
};

struct StackUpdate {
  int inserted = 0;  // new entries placed on the stack
  int queued = 0;    // new entries written to the backlog
  int refused = 0;   // duplicates the company refuses
  int placed = 0;    // waiting entries that landed on the stack
  int waiting = 0;   // entries in the backlog afterwards
  // False when some new entry is neither on the stack nor in the backlog; the failure is then noted in
  // the data directory's pending sync, so the message that brought it is not acknowledged.
  bool durable = true;
};

// The whole stack update for the new entries of one message, in line order: open the stack, place
// the waiting entries oldest first, then the new ones (behind any that still wait), write the stack,
// append what did not land to the backlog and mark what landed. The stack and a new backlog record are
// noted in the pending sync; a stack that took waiting entries is flushed before they are marked.
StackUpdate UpdateStack(DataDir& dir, StackBacklog& backlog, std::span<const NewStackEntry> entries,
                        bool refuse_duplicates);

// One new entry: kInserted, kRefusedDuplicate, or kFull when it went to the backlog.
StackInsert StackEvent(DataDir& dir, StackBacklog& backlog, const StackEntry& entry, bool duplicate_test,
                       bool refuse_duplicates);

// The 15-second tick and start-up: when entries wait, places what fits. Shows the waiting count when it
// changed. Returns how many were placed.
int RetryStackBacklog(DataDir& dir, StackBacklog& backlog);

// The waiting entries, oldest first.
std::vector<StackEntry> ReadStackBacklog(DataDir& dir);

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_STACK_BACKLOG_H_
