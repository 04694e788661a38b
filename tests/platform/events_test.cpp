#include "platform/events.hpp"

#include <gtest/gtest.h>

#include <thread>

#include "platform/dynlib.hpp"
#include "platform/headless/keysource.hpp"

using namespace platform;

namespace {

struct VirtualClock : ::testing::Test {
  void SetUp() override {
    SetVirtualClock(true);
    ResetEvents();
    headless::KeySource::Get().Load({});
  }
  void TearDown() override {
    ResetEvents();
    SetVirtualClock(false);
  }
};

std::vector<int64_t> Drain() {
  std::vector<int64_t> out;
  Message m;
  while (PeekMessage(m)) out.push_back(m.a);
  return out;
}

}  // namespace

TEST_F(VirtualClock, SleepFiresScheduledMessagesOnTime) {
  ScheduleMessage(300, {MessageKind::User, 3, 0});
  ScheduleMessage(100, {MessageKind::User, 1, 0});
  uint64_t cancelled = ScheduleMessage(200, {MessageKind::User, 2, 0});
  CancelScheduled(cancelled);
  ScheduleAction(150, [] { PostMessage({MessageKind::User, int64_t{15} * NowMs(), 0}); });
  Sleep(250);
  EXPECT_EQ(NowMs(), 250);
  EXPECT_EQ(Drain(), (std::vector<int64_t>{1, 15 * 150}));
  WaitMessage();  // moves time on to the next scheduled message
  EXPECT_EQ(NowMs(), 300);
  EXPECT_EQ(Drain(), (std::vector<int64_t>{3}));
}

TEST_F(VirtualClock, KeyScriptAtKeyWaitsAndCloseAtTheEnd) {
  headless::KeySource::Get().Load(headless::ParseKeyScript("a\n+40 b\n"));
  WaitMessage();  // not waiting for a key, nothing scheduled: a player would press one
  Message m;
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::KeyDown);
  EXPECT_EQ(m.a, 'A');
  Drain();
  SetWaitingForKey(true);
  WaitMessage();  // the timed line comes 40 ms after the last delivery
  EXPECT_EQ(NowMs(), 40);
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.a, 'B');
  Drain();
  WaitMessage();
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::Close);
  SetWaitingForKey(false);
}

TEST_F(VirtualClock, OutsidePostersAreWaitedFor) {
  BeginOutsidePoster();
  std::thread voice([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    PostMessage({MessageKind::User, 5, 0});
    EndOutsidePoster();
  });
  WaitMessage();  // without the count this would close the program
  Message m;
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::User);
  EXPECT_EQ(NowMs(), 0);
  voice.join();
  WaitMessage();
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::Close);
}

TEST_F(VirtualClock, SleepUntilEndsEarlyAndTimeHoldsWhileAPosterWorks) {
  bool flag = false;
  ScheduleAction(30, [&] { flag = true; });
  EXPECT_TRUE(SleepUntil(100, [&] { return flag; }));
  EXPECT_EQ(NowMs(), 30);
  EXPECT_FALSE(SleepUntil(50, [] { return false; }));
  EXPECT_EQ(NowMs(), 80);

  // A rendering thread schedules the end of its sound from the moment it was asked for, however
  // long it takes on the wall clock.
  int64_t firedAt = -1;
  BeginOutsideRendering();
  std::thread voice([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ScheduleAction(NowMs() + 10, [&] { firedAt = NowMs(); });
    EndOutsideRendering();
  });
  Sleep(100);
  voice.join();
  EXPECT_EQ(firedAt, 90);
  EXPECT_EQ(NowMs(), 180);
}

TEST(RealClock, PostsFromOtherThreadsWakeTheWait) {
  SetVirtualClock(false);
  ResetEvents();
  std::thread poster([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    PostMessage({MessageKind::Wake, 7, 0});
  });
  WaitMessage();
  Message m;
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::Wake);
  EXPECT_EQ(m.a, 7);
  poster.join();
  ScheduleMessage(NowMs() + 30, {MessageKind::User, 9, 0});
  WaitMessage();
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.a, 9);
  EXPECT_GE(NowMs(), 29);
}

TEST(DynamicLibrary, LoadsAndReportsFailure) {
  LibraryHandle libm = LoadLibrary("libm.so.6");
  ASSERT_NE(libm, nullptr);
  auto cosine = GetProc<double (*)(double)>(libm, "cos");
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(GetProcAddress(libm, "no_such_symbol_here"), nullptr);
  EXPECT_FALSE(LastLibraryError().empty());
  FreeLibrary(libm);
  EXPECT_EQ(LoadLibrary("/nonexistent/libmbrola.so"), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "x"), nullptr);
}

TEST(RealClock, AnInstalledPumpFetchesAndIsWoken) {
  SetVirtualClock(false);
  ResetEvents();
  int pumped = 0, woken = 0;
  std::vector<int64_t> timeouts;
  SetEventPump(
      [&](int64_t timeout) {
        ++pumped;
        timeouts.push_back(timeout);
        if (timeout != 0) PostMessage({MessageKind::KeyDown, 65, 0});  // the window had a key
      },
      [&] { ++woken; });
  Message m;
  EXPECT_FALSE(PeekMessage(m));  // a peek pumps without blocking
  WaitMessage();
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.a, 65);
  EXPECT_EQ(woken, 1);
  EXPECT_EQ(timeouts.front(), 0);
  EXPECT_EQ(timeouts[1], -1);  // nothing scheduled: the pump may block
  SetEventPump(nullptr, nullptr);
}
