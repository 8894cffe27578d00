// The local clock. Everything that reads the date or time, or waits, goes through a Clock so that
// tests can set the hour and make long waits pass at once.
#ifndef DURIDUVAZE_PLATFORM_CLOCK_H_
#define DURIDUVAZE_PLATFORM_CLOCK_H_

#include <cstdint>
#include <mutex>

#include "platform/calendar.h"

namespace duri {

struct LocalDateTime {
  DateRecord date;  // day of week filled
  TimeRecord time;  // fraction holds milliseconds
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() = 0;
  // Milliseconds on a clock that never jumps; only differences mean anything.
  virtual int64_t MonotonicMs() = 0;
  virtual void SleepMs(int ms) = 0;
  // Local time minus UTC in minutes, as the "Date" header of an e-mail states it. The computer's own
  // unless a clock says otherwise.
  virtual int UtcOffsetMinutes();

  DateRecord Today() { return Now().date; }
  TimeRecord TimeOfDay() { return Now().time; }
};

// The computer's own clock.
class SystemClock : public Clock {
 public:
  LocalDateTime Now() override;
  int64_t MonotonicMs() override;
  void SleepMs(int ms) override;
};

// A clock that shows what a test sets and whose sleeps only advance its own time.
class ManualClock : public Clock {
 public:
  ManualClock();
  // Sets date and time; the day of week is computed.
  void Set(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0);
  void AdvanceMs(int64_t ms);
  LocalDateTime Now() override;
  int64_t MonotonicMs() override;
  void SleepMs(int ms) override;
  int UtcOffsetMinutes() override;
  void SetUtcOffsetMinutes(int minutes);

 private:
  std::mutex mu_;
  LocalDateTime now_;
  int utc_offset_minutes_ = 0;
  int64_t monotonic_ms_ = 0;
};

}  // namespace duri

#endif  // DURIDUVAZE_PLATFORM_CLOCK_H_
