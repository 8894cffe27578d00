#include "events/print_batch.h"

#include <cstring>
#include <vector>

#include "events/history.h"
#include "store/error_log.h"
#include "store/io_result.h"
#include "store/shared_file.h"

namespace duri {
namespace {

constexpr int kAccountColumns = 13;

std::span<uint8_t, EventRecord::kSize> Slot(std::vector<uint8_t>& block, int i) {
  return std::span<uint8_t, EventRecord::kSize>(block.data() + i * EventRecord::kSize, EventRecord::kSize);
}

bool SlotFree(const std::vector<uint8_t>& block, int i) { return block[i * EventRecord::kSize] == 0; }

void Log(DataDir& dir, const std::string& text) {
  LogError(dir, text);
}

// Prints the full batch, oldest slot first, and frees every slot.
void PrintBatch(DataDir& dir, Printer& printer, int alarm_printer, std::vector<uint8_t>& block) {
  std::string page;
  for (int i = 0; i < kDumpSlots; ++i) {
    EventRecord event;
    event.Decode(Slot(block, i));
    page += PrintLine(event);
    std::memset(block.data() + i * EventRecord::kSize, 0, EventRecord::kSize);
  }
  std::vector<std::string> names = printer.PrinterNames();
  std::string error = "alarm printer " + std::to_string(alarm_printer) + " is not installed";
  if (alarm_printer <= static_cast<int>(names.size())) {
    const std::string& name = names[static_cast<size_t>(alarm_printer - 1)];
    if (printer.PrintPage(name, "Torvane events", page, &error)) return;
    error = name + ": " + error;
  }
  Log(dir, "Event page of " + std::to_string(kDumpSlots) + " lines not printed: " + error);
}

}  // namespace

std::string PrintLine(const EventRecord& event) {
  TimeRecord time = event.time;
  std::string account = event.account.str();
  account.resize(std::max<size_t>(account.size(), kAccountColumns), ' ');
  return "  " + DateText(event.date) + "  " + (ValidTime(time) ? TimeText(time) : std::string()) + " " + account +
         event.description.str() + "\r\n";
}

void DumpEvents(DataDir& dir, Printer& printer, int alarm_printer, const EventRecord& event) {
  if (alarm_printer <= 0) return;
  SharedFile file;
  std::vector<uint8_t> block(kDumpSize, 0);
  int r = OpenForUpdate(dir, file, kDumpFile, kDumpSize, true);
  if (r != kIoOk) {
    // Not emptied on creation: a station that made it a moment before keeps its slots.
    r = OpenOrCreateForUpdate(dir, file, kDumpFile, kDumpSize);
    if (r != kIoOk) {
      dir.last_io_result = r;
      return;
    }
  }
  int64_t size = file.Size();
  if (size > 0) {
    const IoResult read = file.ReadAt(0, std::span(block.data(), static_cast<size_t>(std::min<int64_t>(size, kDumpSize))));
    // A batch that cannot be read is not rewritten: zeros in its place would drop the events queued in it.
    if (!read.ok()) {
      dir.last_io_result = read;
      return;
    }
  }
  int slot = kDumpSlots - 1;
  for (int i = 0; i < kDumpSlots - 1; ++i) {
    if (SlotFree(block, i)) {
      slot = i;
      break;
    }
  }
  event.Encode(Slot(block, slot));
  if (slot == kDumpSlots - 1) PrintBatch(dir, printer, alarm_printer, block);
  dir.last_io_result = file.WriteAt(0, block);
  CloseShared(dir, file);
}

std::array<EventRecord, kDumpSlots> ReadDumpSlots(DataDir& dir) {
  std::array<EventRecord, kDumpSlots> slots;
  for (EventRecord& e : slots) e.account.Clear();
  SharedFile file;
  std::vector<uint8_t> block(kDumpSize, 0);
  if (OpenShared(dir, file, kDumpFile, kDumpSize) == kIoOk && file.ReadAt(0, block) == kIoOk) {
    for (int i = 0; i < kDumpSlots; ++i) slots[i].Decode(Slot(block, i));
  }
  CloseShared(dir, file);
  return slots;
}

void MarkAccountMoved(DataDir& dir, int32_t account_rec_no, std::string_view period_key, uint8_t value) {
  if (account_rec_no < 0) return;
  const std::string name = PeriodDirectory(period_key) + "EVENT.MOV";
  SharedFile file;
  int r = OpenForUpdate(dir, file, name, 1, true);
  if (r != kIoOk) {
    r = OpenOrCreateForUpdate(dir, file, name, 1);
    // Grown, never cut: marks another station made a moment before stay.
    if (r == kIoOk && file.Size() < kMovedFileSize) r = file.Truncate(kMovedFileSize);
  }
  if (r == kIoOk) r = file.WriteAt(account_rec_no, std::span<const uint8_t>(&value, 1));
  CloseShared(dir, file);
  if (r != kIoOk) dir.last_io_result = r;
}

}  // namespace duri
