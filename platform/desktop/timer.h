// TTimer: a repeating timer with the desktop timer's rules. Setting the
// interval or switching the timer on (re)starts the countdown; an interval of
// 0 never fires. Ticks are delivered by the event loop, or by a ManualClock
// that a test installs, so tests drive time without sleeping.
#pragma once

#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

class TTimer;

// A clock that only moves when told to. While one is installed, every TTimer
// (also those created before) counts on it instead of on the event loop.
class ManualClock {
 public:
  ManualClock();
  ~ManualClock();
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  std::int64_t Now() const { return now_; }
  // Moves time forward by ms, firing each due tick in time order.
  void Advance(std::int64_t ms);

 private:
  friend class TTimer;
  std::int64_t now_ = 0;
};

class TTimer {
 public:
  TTimer();
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Under a ManualClock: the clock time of the next tick, or -1 when none
  // is due.
  std::int64_t DueAt() const { return due_at_; }

  std::function<void(TTimer* Sender)> OnTimer;

 private:
  friend class ManualClock;
  void Restart();
  void Fire();

  int interval_ = 1000;
  bool enabled_ = true;
  std::int64_t due_at_ = -1;
  QTimer qt_timer_;
};

}  // namespace platform
