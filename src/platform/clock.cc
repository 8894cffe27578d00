#include "platform/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace duri {

LocalDateTime SystemClock::Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  localtime_r(&ts.tv_sec, &tm);
  LocalDateTime now;
  now.date.year = static_cast<uint16_t>(tm.tm_year + 1900);
  now.date.month = static_cast<uint16_t>(tm.tm_mon + 1);
  now.date.day = static_cast<uint16_t>(tm.tm_mday);
  now.date.day_of_week = static_cast<uint16_t>(tm.tm_wday);
  now.time.hour = static_cast<uint16_t>(tm.tm_hour);
  now.time.minute = static_cast<uint16_t>(tm.tm_min);
  now.time.second = static_cast<uint16_t>(tm.tm_sec);
  now.time.fraction = static_cast<uint16_t>(ts.tv_nsec / 1000000);
  return now;
}

int Clock::UtcOffsetMinutes() {
  time_t now = time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return static_cast<int>(tm.tm_gmtoff / 60);
}

int64_t SystemClock::MonotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SystemClock::SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

ManualClock::ManualClock() { Set(2026, 12, 8, 12, 0, 0, 0); }

void ManualClock::Set(int year, int month, int day, int hour, int minute, int second, int ms) {
  std::lock_guard<std::mutex> lock(mu_);
  now_.date = DateRecord{static_cast<uint16_t>(year), static_cast<uint16_t>(month), static_cast<uint16_t>(day), 0};
  FixDate(now_.date);
  now_.time = TimeRecord{static_cast<uint16_t>(hour), static_cast<uint16_t>(minute), static_cast<uint16_t>(second),
                         static_cast<uint16_t>(ms)};
}

void ManualClock::AdvanceMs(int64_t ms) {
  std::lock_guard<std::mutex> lock(mu_);
  monotonic_ms_ += ms;
  int64_t total = ((now_.time.hour * 60 + now_.time.minute) * 60 + now_.time.second) * 1000LL + now_.time.fraction + ms;
  int64_t days = total / 86400000;
  total %= 86400000;
  if (days > 0) AddDays(now_.date, static_cast<int>(days));
  now_.time.hour = static_cast<uint16_t>(total / 3600000);
  now_.time.minute = static_cast<uint16_t>(total / 60000 % 60);
  now_.time.second = static_cast<uint16_t>(total / 1000 % 60);
  now_.time.fraction = static_cast<uint16_t>(total % 1000);
}

LocalDateTime ManualClock::Now() {
  std::lock_guard<std::mutex> lock(mu_);
  return now_;
}

int64_t ManualClock::MonotonicMs() {
  std::lock_guard<std::mutex> lock(mu_);
  return monotonic_ms_;
}

void ManualClock::SleepMs(int ms) {
  AdvanceMs(ms);
  // Give real threads that a test runs beside this one a chance to move.
  std::this_thread::yield();
}

int ManualClock::UtcOffsetMinutes() {
  std::lock_guard<std::mutex> lock(mu_);
  return utc_offset_minutes_;
}

void ManualClock::SetUtcOffsetMinutes(int minutes) {
  std::lock_guard<std::mutex> lock(mu_);
  utc_offset_minutes_ = minutes;
}

}  // namespace duri
