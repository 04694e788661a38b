// Flights played headless and compared, turn by turn, with the model: briefing, status lines,
// callouts, periodic altitude, warnings and their colours, fuel sounds, the space and Enter
// reports, the outcomes and their scores.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "conformance_model.hpp"
#include "conformance_world.hpp"

using namespace conformance;

namespace {

const char* kOpening = "n\nn\nEnter\n";

// The items of the flight that starts after the n-th briefing, compared with the model fed
// with the keys the game took; returns the model's flight.
Flight CheckFlight(const testkit::RunResult& r, const Level& level, Carry& carry, int n = 0) {
  size_t start = FlightStart(r, n);
  EXPECT_NE(start, std::string::npos) << "no briefing " << n;
  if (start == std::string::npos) return {};
  Flight f = Fly(level, KeysOfFlight(r, start), carry);
  std::string diff = FirstDifference(f.items, Stream(r, start));
  EXPECT_EQ(diff, "") << "flight " << n;
  return f;
}

Flight CheckFlight(const testkit::RunResult& r, const Level& level, int n = 0) {
  Carry carry;
  return CheckFlight(r, level, carry, n);
}

// Index of the first item equal to item at or after from, or -1.
int Find(const std::vector<Item>& items, const Item& item, size_t from = 0) {
  for (size_t i = from; i < items.size(); ++i)
    if (items[i] == item) return static_cast<int>(i);
  return -1;
}

int Count(const std::vector<Item>& items, const Item& item) {
  int n = 0;
  for (const auto& i : items) n += i == item;
  return n;
}

}  // namespace

TEST(AcceptanceFlight, FreeFallBriefingStatusCalloutsWarningsAndCrash) {
  World world;
  auto r = world.Play(std::string(kOpening) + "1\nEnter\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  Level level{1, 1000, 200, 30, 5};

  auto items = Stream(r);
  int question = Find(items, {"SPEAK", "Digite a sua opção de dificuldade de 1 a 3: "});
  ASSERT_GE(question, 0);
  // The level question: the echoed key, the question's line end, then one more.
  EXPECT_EQ(items[question + 1], (Item{"OUT", "1\r\n\r\n"}));
  auto briefing = Merge(Briefing(level));
  std::vector<Item> actual(items.begin() + question + 2, items.end());
  EXPECT_EQ(FirstDifference(briefing, actual), "");

  Flight f = CheckFlight(r, level);
  EXPECT_GT(f.velocity, 5);
  EXPECT_EQ(f.score, 0);
  // All five callouts but the first (the fall starts exactly at 1000 m), in order.
  int last = -1;
  for (const char* callout :
       {"Quinhentos metros.", "Duzentos e cinquenta metros.", "Cem metros.", "Cinquenta metros."}) {
    int at = Find(items, {"SPEAK", callout});
    EXPECT_GT(at, last) << callout;
    last = at;
  }
  EXPECT_EQ(Find(items, {"SPEAK", "Mil metros."}), -1);

  // Warnings on red, the crash message on red, the title before the flight only written.
  for (const char* warning : {"ATENÇÃO, você está rápido demais.",
                              "ATENÇÃO, você está muito rápido próximo ao solo.",
                              "A nave explodiu!"}) {
    int row = RowWith(r, warning);
    ASSERT_GE(row, 0) << warning;
    size_t n = Chars(warning);
    EXPECT_EQ(AttrRun(r, row, 0, n), Cells("4F", n)) << warning;
    EXPECT_EQ(AttrRun(r, row, n, 1), "0F") << warning;
  }
  // A silent turn lasts 100 ms of the clock: the first status lines come 100 ms apart.
  std::vector<long long> at;
  for (const auto& e : r.Named("OUT"))
    if (e.data.rfind("\"tempo= ", 0) == 0) at.push_back(e.ms);
  ASSERT_GT(at.size(), 20u);
  for (size_t i = 1; i < 20; ++i) EXPECT_EQ(at[i] - at[i - 1], 100) << i;
  // The last status line stays on screen above the outcome.
  EXPECT_GE(RowWith(r, "tempo= " + Fixed1(f.time) + " altura= " + Fixed1(f.altitude)), 0);
}

TEST(AcceptanceFlight, SpaceAndEnterReportsBurnsAndRunningOutOfFuel) {
  World world("1000\n20\n30\n5\n");
  // Space at about 3 s, Enter a second later, then three full burns, the last clamped to the
  // 2 litres left; keys after the tank is empty are not read in flight and are dropped at the
  // end (the table that follows starts on its first item, untouched by them).
  std::string keys = std::string(kOpening) + "1\nEnter\n+3050 Space\n+1000 Enter\n+2000 9\n"
                     "+100 9\n+100 9\n+100 9\n+500 Space\n+50 5\nEsc\nn\n";
  auto r = world.Play(keys);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  Level level{1, 1000, 20, 30, 5};
  Flight f = CheckFlight(r, level);
  EXPECT_EQ(f.fuel, 0);
  EXPECT_EQ(f.used, 20);

  auto items = Stream(r, FlightStart(r));
  // The space report with its values; Enter says the altitude as an integer.
  EXPECT_GE(Find(items, {"SPEAK", "Tempo: "}), 0);
  EXPECT_GE(Find(items, {"SPEAK", "Combustível: "}), 0);
  // Three burns sound; the empty tank is announced once with the alarm, then every 200th turn.
  EXPECT_EQ(Count(items, {"EFFECT", "APLICCOMB"}), 3);
  int out = Find(items, {"SPEAK", "Fim do combustível."});
  ASSERT_GE(out, 1);
  EXPECT_EQ(items[out - 2], (Item{"EFFECT", "ALARM2"}));
  EXPECT_EQ(Count(items, {"SPEAK", "Fim do combustível."}), 1);
  EXPECT_GE(Count(items, {"SPEAK", "Nave sem combustível!"}), 1);
  EXPECT_EQ(Count(items, {"SPEAK", "Nave sem combustível!"}), f.turns / 200);

  int row = RowWith(r, "Fim do combustível.");
  if (row >= 0) {
    EXPECT_EQ(AttrRun(r, row, 0, 2), "4F4F");
  }
  // After the flight the table browses from its first item: the queued keys were dropped.
  int table = Find(items, {"SPEAK", "Use as setas para conhecer os ases pilotos e sua pontuação"});
  ASSERT_GE(table, 0);
  int firstItem = -1;
  for (size_t i = table + 1; i < items.size(); ++i)
    if (items[i].kind == "SPEAK") { firstItem = static_cast<int>(i); break; }
  ASSERT_GE(firstItem, 0);
  EXPECT_EQ(items[firstItem].text.substr(0, 12), "Caio Martelo");
}

TEST(AcceptanceFlight, LostInOrbitAndBrokenUp) {
  {
    // A full burn from just below the orbit limit: the rocket rises out of lunar orbit.
    World world("2990\n50\n30\n5\n");
    auto r = world.Play(std::string(kOpening) + "1\nEnter\n+0 9\nEsc\nn\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    Flight f = CheckFlight(r, {1, 2990, 50, 30, 5});
    EXPECT_TRUE(f.lost);
    EXPECT_GE(f.altitude, 3000);
    EXPECT_EQ(f.score, 0);
    auto items = Stream(r, FlightStart(r));
    EXPECT_GE(Find(items, {"SPEAK", Text("LUFORORB")}), 0);
    EXPECT_EQ(Find(items, {"SPEAK", Text("LUENTERR")}), -1);
    EXPECT_EQ(Find(items, {"SPEAK", Text("LUVELFIM")}), -1);
  }
  {
    // Full burns every turn: the rising speed reaches 120 m/s and the rocket breaks up.
    World world("100\n500\n30\n5\n");
    std::string keys = std::string(kOpening) + "1\nEnter\n+0 9\n+50 9\n";
    for (int i = 0; i < 14; ++i) keys += "+100 9\n";
    auto r = world.Play(keys + "Esc\nn\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    Flight f = CheckFlight(r, {1, 100, 500, 30, 5});
    EXPECT_TRUE(f.lost);
    EXPECT_LE(f.velocity, -120);
    EXPECT_EQ(f.score, 0);
    auto items = Stream(r, FlightStart(r));
    int boom = Find(items, {"SPEAK", Text("LUNSUPOR")});
    ASSERT_GE(boom, 2);
    EXPECT_EQ(items[boom - 2], (Item{"PLAY", "EXPLODE.wav"}));
  }
}

TEST(AcceptanceFlight, CraterEndingScoresNothing) {
  // Search the model for a fall and a turn where a full burn takes the rocket below the surface
  // while it already rises; no speech happens in such a short fall, so turn k is reached at
  // exactly (k - 1) x 100 ms after the briefing's Enter.
  for (int height = 5; height < 40; ++height) {
    for (int turn = 2; turn < 38; ++turn) {
      Carry carry;
      Flight f = Fly({1, height, 50, 30, 5}, {{turn, {'9'}}}, carry);
      if (f.lost || f.velocity >= 0 || f.turns != turn || f.velocity <= -100) continue;
      World world(std::to_string(height) + "\n50\n30\n5\n");
      auto r = world.Play(std::string(kOpening) + "1\nEnter\n+" +
                          std::to_string((turn - 1) * 100 - 50) + " 9\nEsc\nn\n");
      ASSERT_EQ(r.exitCode, 0) << r.stderrText;
      ASSERT_EQ(KeysOfFlight(r, FlightStart(r)), (KeysByTurn{{turn, {'9'}}}))
          << "the key did not reach turn " << turn;
      Flight played = CheckFlight(r, {1, height, 50, 30, 5});
      EXPECT_EQ(played.score, 0);
      auto items = Stream(r, FlightStart(r));
      int crater = Find(items, {"SPEAK", Text("LUENTERR")});
      ASSERT_GE(crater, 2);
      EXPECT_EQ(items[crater - 2], (Item{"PLAY", "EXPLODE.wav"}));
      EXPECT_EQ(Find(items, {"SPEAK", Text("LUNVPOUS")}), -1);
      EXPECT_EQ(Find(items, {"SPEAK", Text("LUNVEXPL")}), -1);
      EXPECT_EQ(Find(items, {"SPEAK", Text("LUVELFIM")}), -1);
      int row = RowWith(r, "Você usou muito combustível");
      ASSERT_GE(row, 0);
      EXPECT_EQ(AttrRun(r, row, 0, 3), "4F4F4F");
      return;
    }
  }
  FAIL() << "the model found no crater ending";
}

TEST(AcceptanceFlight, SecondFlightInheritsBeforeStepValuesAndClearsLost) {
  // The first flight breaks up; the second (another level) runs normally and starts with the
  // fuel and speed the first one left before its last step.
  World world("100\n500\n30\n5\n*\n300\n0\n30\n5\n");
  std::string keys = std::string(kOpening) + "1\nEnter\n+0 9\n+50 9\n";
  for (int i = 0; i < 14; ++i) keys += "+100 9\n";
  auto r = world.Play(keys + "Esc\nEnter\n2\nEnter\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  Carry carry;
  Flight first = CheckFlight(r, {1, 100, 500, 30, 5}, carry, 0);
  EXPECT_TRUE(first.lost);
  // No fuel in the second flight: the turn-1 check sees the first flight's last fuel.
  Flight second = CheckFlight(r, {2, 300, 0, 30, 5}, carry, 1);
  EXPECT_FALSE(second.lost);
  EXPECT_GT(second.velocity, 5);
  auto items = Stream(r, FlightStart(r, 1));
  EXPECT_EQ(Find(items, {"SPEAK", "Fim do combustível."}), 2 + Find(items, {"EFFECT", "ALARM2"}));
}

TEST(AcceptanceFlight, RisingSlowHighUpPongAndReportsWhileRising) {
  // Two full burns at about 6 s make the rocket rise; space while rising, then space again and
  // the hundredth turn while it falls slowly above 800 m.
  World world("1500\n400\n30\n5\n");
  auto r = world.Play(std::string(kOpening) +
                      "1\nEnter\n+5950 9\n+100 9\n+1000 Space\n+2500 Space\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  Flight f = CheckFlight(r, {1, 1500, 400, 30, 5});
  auto has = [&](const Item& item) { return Find(f.items, item) >= 0; };
  // The scenario reaches what it is meant to reach.
  EXPECT_TRUE(has({"SPEAK", Text("LUVCSOBE")}));
  EXPECT_TRUE(has({"SPEAK", Text("LULENTO")}));
  EXPECT_TRUE(has({"EFFECT", "pong.wav"}));
  EXPECT_TRUE(has({"SPEAK", "Mil metros."}));
}

TEST(AcceptanceFlight, FullReportWarnsOfSpeedHighAndNearTheGround) {
  // A dry free fall from 1000 m tells when the status line first shows the rocket falling faster
  // than 50 m/s, and when below 100 m; the same fall with a space at that moment gets its report
  // in the next turn (the game runs identically up to the key).
  World world;
  auto dry = world.Play(std::string(kOpening) + "1\nEnter\nEsc\nn\n");
  size_t start = FlightStart(dry);
  ASSERT_NE(start, std::string::npos);
  long long enter = dry.events[start - 1].ms, fast = -1, low = -1;
  for (size_t i = start; i < dry.events.size(); ++i) {
    const auto& e = dry.events[i];
    if (e.name != "OUT" || e.data.rfind("\"tempo= ", 0) != 0) continue;
    double time, altitude, velocity;
    if (std::sscanf(e.data.c_str(), "\"tempo= %lf altura= %lf velocidade= %lf", &time, &altitude,
                    &velocity) != 3)
      continue;
    if (fast < 0 && velocity > 51) fast = e.ms;
    if (low < 0 && altitude < 95) low = e.ms;
  }
  ASSERT_GT(fast, enter);
  ASSERT_GT(low, fast);
  for (auto [moment, key] : {std::pair{fast, "LUDEMAIS"}, std::pair{low, "LURAPIDO"}}) {
    char line[64];
    std::snprintf(line, sizeof line, "+%lld Space\n", moment + 50 - enter);
    auto r = world.Play(std::string(kOpening) + "1\nEnter\n" + line + "Esc\nn\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    Flight f = CheckFlight(r, {1, 1000, 200, 30, 5});
    bool reported = false;
    for (size_t i = 0; i + 1 < f.items.size(); ++i)
      reported |= f.items[i] == Item{"SPEAK", Text(key)} && f.items[i + 1] == Item{"OUT", "Tempo: "};
    EXPECT_TRUE(reported) << key;
  }
}
