// Entries the full pending stack refused. The stack file keeps its 175 entries (the operators'
// application relies on that), so an entry that finds no free slot waits here, in arrival order, and
// goes in as slots free: before every new insertion and at every 15-second tick. Each refusal is
// written to the error log and the waiting count is shown on the window, so no alarm that needs an
// operator is dropped silently.
#ifndef DURIDUVAZE_EVENTS_STACK_BACKLOG_H_
#define DURIDUVAZE_EVENTS_STACK_BACKLOG_H_

#include <deque>

#include "events/stack.h"
#include "store/data_dir.h"

namespace duri {

struct StackBacklog {
  std::deque<StackEntry> entries;  // oldest first, priorities already settled by the duplicate rule
};

// Moves waiting entries into free slots of table, oldest first. Returns how many went in.
int DrainStackBacklog(StackBacklog& backlog, StackTable& table);

// InsertEntry for an open stack, after the waiting entries have had their turn. An entry the full
// table refuses joins the backlog and is written to the error log.
StackInsert InsertPendingEntry(DataDir& dir, StackBacklog& backlog, const StackEntry& entry, StackTable& table,
                               bool duplicate_test, bool refuse_duplicates);

// The whole update for one or more new entries: open, drain the backlog, insert, write.
StackInsert StackEvent(DataDir& dir, StackBacklog& backlog, const StackEntry& entry, bool duplicate_test,
                       bool refuse_duplicates);

// The 15-second tick: when entries wait, opens the stack, places what fits and writes it back.
// Returns how many were placed.
int RetryStackBacklog(DataDir& dir, StackBacklog& backlog);

}  // namespace duri

#endif  // DURIDUVAZE_EVENTS_STACK_BACKLOG_H_
