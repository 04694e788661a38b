#include "platform/events.hpp"

#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "platform/dynlib.hpp"
#include "platform/env.hpp"
#include "platform/headless/headless_env.hpp"
#include "platform/headless/keysource.hpp"
#include "platform/random.hpp"
#include "platform/real_env.hpp"

using namespace teluma;

using namespace platform;

namespace {

// Each test runs in an environment of its own, installed for the free functions.
struct VirtualClock : ::testing::Test {
  headless::HeadlessEnv env;
  ScopedEnv installed{env};
};

struct RealClock : ::testing::Test {
  RealEnv env{EnvChoice{}};
  ScopedEnv installed{env};
};

// Schedules a User message with a = id at atMs.
uint64_t PostAt(int64_t atMs, int64_t id) {
  return ScheduleAction(atMs, [id] { PostMessage({MessageKind::User, id, 0}); });
}

std::vector<int64_t> Drain() {
  std::vector<int64_t> out;
  Message m;
  while (PeekMessage(m)) out.push_back(m.a);
  return out;
}

}  // namespace

TEST_F(VirtualClock, SleepFiresScheduledMessagesOnTime) {
  PostAt(300, 3);
  PostAt(100, 1);
  uint64_t cancelled = PostAt(200, 2);
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
  Drain();  // the end's own wake
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

// A poster that ends between the program's look at its work and the program's wait: the wait
// returns for the end instead of handing out the next key as if nothing more could come.
TEST_F(VirtualClock, AnOutsidePosterEndingBeforeTheWaitWakesIt) {
  headless::KeySource::Get().Load(headless::ParseKeyScript("a\n"));
  BeginOutsidePoster();
  std::thread([] { EndOutsidePoster(); }).join();
  WaitMessage();
  Message m;
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::Wake);
  EXPECT_FALSE(PeekMessage(m));
  WaitMessage();
  ASSERT_TRUE(PeekMessage(m));
  EXPECT_EQ(m.kind, MessageKind::KeyDown);
}

TEST_F(RealClock, PostsFromOtherThreadsWakeTheWait) {
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
  PostAt(NowMs() + 30, 9);
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

TEST(Environment, SeedIsReadOnceAndAWrapperOverridesOneMember) {
  setenv("TELUMA_SEED", "12345", 1);
  EnvChoice choice = ReadEnvChoice();
  EXPECT_TRUE(choice.seedGiven);
  EXPECT_EQ(choice.seed, 12345u);
  for (const char* bad : {"", "12x", "-3", " 7"}) {
    setenv("TELUMA_SEED", bad, 1);
    EXPECT_FALSE(ReadEnvChoice().seedGiven) << '"' << bad << '"';
  }
  unsetenv("TELUMA_SEED");

  headless::HeadlessEnv env(choice);
  struct FixedSeed : EnvWrapper {
    using EnvWrapper::EnvWrapper;
    uint64_t Seed() override { return 99; }
  } wrapper(env);
  ScopedEnv installed(wrapper);
  EXPECT_EQ(Env::Default().Seed(), 99u);
  EXPECT_TRUE(UsesVirtualClock());  // the rest is the wrapped environment's
  Sleep(70);
  EXPECT_EQ(env.NowMs(), 70);
}

TEST(Random, SameSequenceAsTheStandardsSixtyFourBitTwister) {
  // The standard fixes this engine's output bit for bit; ours must follow it on any library.
  for (uint64_t seed : {1ull, 7ull, 1234567890123ull}) {
    Random ours(seed);
    std::mt19937_64 reference(seed);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(ours.Next(), reference()) << seed << " " << i;
  }
  Random r(5);
  for (int i = 0; i < 1000; ++i) {
    int x = r.Below(7);
    ASSERT_GE(x, 0);
    ASSERT_LT(x, 7);
  }
  EXPECT_EQ(r.Below(1), 0);
}
