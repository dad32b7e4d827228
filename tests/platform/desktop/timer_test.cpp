#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "timer.h"

namespace {

using platform::ManualClock;
using platform::TTimer;

struct Tick {
  std::string timer;
  std::int64_t at;
  bool operator==(const Tick&) const = default;
  friend void PrintTo(const Tick& t, std::ostream* os) { *os << t.timer << "@" << t.at; }
};

// A clock the test moves, and a log of (timer name, tick time).
class TimerTest : public ::testing::Test {
 protected:
  void Log(TTimer& timer, const std::string& name) {
    timer.OnTimer = [this, name](TTimer*) { ticks.push_back({name, clock.Now()}); };
  }

  ManualClock clock;
  std::vector<Tick> ticks;
};

std::vector<std::int64_t> Times(const std::vector<Tick>& ticks) {
  std::vector<std::int64_t> out;
  for (const auto& t : ticks) out.push_back(t.at);
  return out;
}

TEST_F(TimerTest, AShortFirstIntervalThenALongOne) {
  // The check cycle's pattern: the first tick soon after start, then every
  // ten minutes, the handler setting the long interval each time.
  TTimer timer;
  timer.SetInterval(2000);
  timer.OnTimer = [&](TTimer* sender) {
    ticks.push_back({"t", clock.Now()});
    sender->SetInterval(600000);
  };
  clock.Advance(1999);
  EXPECT_TRUE(ticks.empty());
  clock.Advance(2 * 600000 + 1);
  EXPECT_EQ(Times(ticks), (std::vector<std::int64_t>{2000, 602000, 1202000}));
  EXPECT_EQ(timer.DueAt(), 1802000);
}

TEST_F(TimerTest, ChangingTheIntervalRestartsTheCountdown) {
  TTimer timer;
  Log(timer, "t");
  clock.Advance(700);
  timer.SetInterval(400);  // due at 1100, not at 400 or 1000
  clock.Advance(399);
  EXPECT_TRUE(ticks.empty());
  clock.Advance(1);
  EXPECT_EQ(Times(ticks), (std::vector<std::int64_t>{1100}));
}

TEST_F(TimerTest, SettingTheValueItAlreadyHasKeepsTheCountdown) {
  TTimer timer;
  Log(timer, "t");
  clock.Advance(700);
  timer.SetInterval(1000);
  timer.SetEnabled(true);
  clock.Advance(300);
  EXPECT_EQ(Times(ticks), (std::vector<std::int64_t>{1000}));
  // Off and on again is the way to restart it.
  clock.Advance(500);
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  clock.Advance(999);
  EXPECT_EQ(ticks.size(), 1u);
  clock.Advance(1);
  EXPECT_EQ(Times(ticks), (std::vector<std::int64_t>{1000, 2500}));
}

TEST_F(TimerTest, IntervalZeroAndDisabledTimersNeverFire) {
  TTimer zero;
  Log(zero, "zero");
  zero.SetInterval(0);
  TTimer off;
  Log(off, "off");
  off.SetEnabled(false);
  EXPECT_EQ(zero.DueAt(), -1);
  EXPECT_EQ(off.DueAt(), -1);
  clock.Advance(10'000'000);
  EXPECT_TRUE(ticks.empty());

  // Either starts counting from the moment it becomes runnable.
  zero.SetInterval(500);
  off.SetEnabled(true);
  clock.Advance(999);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"zero", 10'000'500}}));
  EXPECT_EQ(off.DueAt(), 10'001'000);
}

TEST_F(TimerTest, TicksOfSeveralTimersComeInTimeOrder) {
  TTimer a;
  a.SetInterval(300);
  Log(a, "a");
  TTimer b;
  b.SetInterval(500);
  Log(b, "b");
  clock.Advance(999);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"a", 300}, {"b", 500}, {"a", 600}, {"a", 900}}));
  EXPECT_EQ(clock.Now(), 999);
}

TEST_F(TimerTest, AHandlerMayDestroyItsOwnTimer) {
  auto doomed = std::make_unique<TTimer>();
  doomed->SetInterval(100);
  TTimer other;
  other.SetInterval(250);
  Log(other, "other");
  // The handler goes on using its captures after the timer is gone.
  auto count = std::make_shared<int>(0);
  doomed->OnTimer = [&doomed, count, this](TTimer* sender) {
    EXPECT_EQ(sender, doomed.get());
    doomed.reset();
    ++*count;
    ticks.push_back({"doomed", clock.Now()});
  };
  clock.Advance(600);
  EXPECT_EQ(*count, 1);
  EXPECT_EQ(doomed, nullptr);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"doomed", 100}, {"other", 250}, {"other", 500}}));
}

TEST_F(TimerTest, AHandlerMayReplaceItsOwnHandler) {
  TTimer timer;
  timer.SetInterval(100);
  auto first_calls = std::make_shared<int>(0);
  timer.OnTimer = [&, first_calls](TTimer* sender) {
    sender->OnTimer = [&](TTimer*) { ticks.push_back({"second", clock.Now()}); };
    ++*first_calls;
  };
  clock.Advance(250);
  EXPECT_EQ(*first_calls, 1);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"second", 200}}));
}

TEST_F(TimerTest, AHandlerMayChangeAnotherTimer) {
  TTimer a;
  a.SetInterval(1000);
  TTimer b;
  b.SetInterval(1500);
  Log(b, "b");
  TTimer c;
  c.SetInterval(1200);
  Log(c, "c");
  a.OnTimer = [&](TTimer*) {
    ticks.push_back({"a", clock.Now()});
    b.SetInterval(300);   // now due at 1300
    c.SetEnabled(false);  // its tick at 1200 never comes
  };
  clock.Advance(1650);
  EXPECT_EQ(ticks, (std::vector<Tick>{{"a", 1000}, {"b", 1300}, {"b", 1600}}));
}

TEST(TimerClock, ATimerCreatedBeforeTheClockCountsOnIt) {
  TTimer timer;
  timer.SetInterval(50);
  EXPECT_EQ(timer.DueAt(), -1);  // on the event loop
  {
    ManualClock clock;
    clock.Advance(20);
    EXPECT_EQ(timer.DueAt(), 50);
    int fired = 0;
    timer.OnTimer = [&](TTimer*) { ++fired; };
    clock.Advance(30);
    EXPECT_EQ(fired, 1);
    timer.OnTimer = nullptr;
  }
  EXPECT_EQ(timer.DueAt(), -1);
}

TEST(TimerEventLoop, ATimerFiresFromTheEventLoop) {
  TTimer timer;
  QEventLoop loop;
  QTimer guard;
  guard.setSingleShot(true);
  bool timed_out = false;
  QObject::connect(&guard, &QTimer::timeout, [&] {
    timed_out = true;
    loop.quit();
  });
  int fired = 0;
  timer.OnTimer = [&](TTimer* sender) {
    ++fired;
    sender->SetEnabled(false);
    loop.quit();
  };
  QElapsedTimer elapsed;
  elapsed.start();
  timer.SetInterval(30);
  guard.start(5000);
  loop.exec();
  EXPECT_FALSE(timed_out);
  EXPECT_EQ(fired, 1);
  EXPECT_GE(elapsed.elapsed(), 29);
}

}  // namespace
