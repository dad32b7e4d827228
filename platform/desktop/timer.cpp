#include "timer.h"

#include <algorithm>
#include <set>

namespace platform {
namespace {

ManualClock*& installed_clock() {
  static ManualClock* clock = nullptr;
  return clock;
}

std::set<TTimer*>& all_timers() {
  static std::set<TTimer*> timers;
  return timers;
}

}  // namespace

ManualClock::ManualClock() {
  installed_clock() = this;
  // Timers that were counting on the event loop now count on this clock.
  for (TTimer* t : all_timers()) t->Restart();
}

ManualClock::~ManualClock() {
  if (installed_clock() == this) installed_clock() = nullptr;
  for (TTimer* t : all_timers()) t->Restart();
}

void ManualClock::Advance(std::int64_t ms) {
  const std::int64_t end = now_ + ms;
  for (;;) {
    // The earliest due timer; a tick may create, change or destroy timers,
    // so the set is searched afresh after each one.
    TTimer* next = nullptr;
    for (TTimer* t : all_timers())
      if (t->due_at_ >= 0 && t->due_at_ <= end && (!next || t->due_at_ < next->due_at_)) next = t;
    if (!next) break;
    now_ = std::max(now_, next->due_at_);
    next->due_at_ = now_ + next->interval_;
    next->Fire();
  }
  now_ = end;
}

TTimer::TTimer() {
  all_timers().insert(this);
  qt_timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&qt_timer_, &QTimer::timeout, [this] { Fire(); });
  Restart();
}

TTimer::~TTimer() { all_timers().erase(this); }

// Setting the value the timer already has leaves the countdown alone, as
// the desktop timer does: "Enabled = true" on a running timer must not
// push its next tick back.
void TTimer::SetInterval(int ms) {
  if (ms < 0) ms = 0;
  if (ms == interval_) return;
  interval_ = ms;
  Restart();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Restart();
}

void TTimer::Restart() {
  qt_timer_.stop();
  due_at_ = -1;
  if (!enabled_ || interval_ == 0) return;
  if (ManualClock* clock = installed_clock()) {
    due_at_ = clock->now_ + interval_;
  } else {
    qt_timer_.start(interval_);
  }
}

void TTimer::Fire() {
  if (!OnTimer) return;
  // The handler may destroy this timer or replace OnTimer, either of which
  // would free the function object while it runs: run a copy.
  const std::function<void(TTimer*)> handler = OnTimer;
  handler(this);
}

}  // namespace platform
