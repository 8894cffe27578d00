#include "events/stack_backlog.h"

#include <string>

#include "store/shared_file.h"

namespace duri {
namespace {

void LogRefusal(DataDir& dir, const StackEntry& entry, size_t waiting) {
  LocalDateTime now = dir.clock().Now();
  AppendErrorLog(dir, DateText(now.date) + " " + TimeText(now.time) + " Pending stack full: event " +
                          std::to_string(entry.record_number) + " of account record " +
                          std::to_string(entry.account_rec_no) + " priority " + std::string(1, entry.priority) +
                          " waits for a free slot (" + std::to_string(waiting) + " waiting)");
}

}  // namespace

int DrainStackBacklog(StackBacklog& backlog, StackTable& table) {
  int placed = 0;
  while (!backlog.entries.empty()) {
    // No duplicate test: the entry passed it when it first came.
    if (InsertEntry(backlog.entries.front(), table, false, false) != StackInsert::kInserted) break;
    backlog.entries.pop_front();
    ++placed;
  }
  return placed;
}

StackInsert InsertPendingEntry(DataDir& dir, StackBacklog& backlog, const StackEntry& entry, StackTable& table,
                               bool duplicate_test, bool refuse_duplicates) {
  size_t before = backlog.entries.size();
  DrainStackBacklog(backlog, table);
  StackInsert result = StackInsert::kFull;
  StackEntry settled = entry;
  if (duplicate_test && HoldsDuplicate(table, entry)) {
    if (refuse_duplicates) {
      result = StackInsert::kRefusedDuplicate;
    } else {
      settled.priority = '0';
    }
  }
  if (result != StackInsert::kRefusedDuplicate) {
    // Older entries that still wait keep their turn: the new one queues behind them.
    if (backlog.entries.empty() && InsertEntry(settled, table, false, false) == StackInsert::kInserted) {
      result = StackInsert::kInserted;
    } else {
      backlog.entries.push_back(settled);
      LogRefusal(dir, settled, backlog.entries.size());
    }
  }
  if (backlog.entries.size() != before) dir.view().ShowStackBacklog(static_cast<int>(backlog.entries.size()));
  return result;
}

StackInsert StackEvent(DataDir& dir, StackBacklog& backlog, const StackEntry& entry, bool duplicate_test,
                       bool refuse_duplicates) {
  SharedFile file;
  StackTable table;
  OpenStackForUpdate(dir, file, table);
  StackInsert result = InsertPendingEntry(dir, backlog, entry, table, duplicate_test, refuse_duplicates);
  WriteStack(dir, file, table);
  return result;
}

int RetryStackBacklog(DataDir& dir, StackBacklog& backlog) {
  if (backlog.entries.empty()) return 0;
  SharedFile file;
  StackTable table;
  OpenStackForUpdate(dir, file, table);
  int placed = DrainStackBacklog(backlog, table);
  if (placed > 0) {
    WriteStack(dir, file, table);
    dir.view().ShowStackBacklog(static_cast<int>(backlog.entries.size()));
  } else {
    CloseShared(dir, file);
  }
  return placed;
}

}  // namespace duri
