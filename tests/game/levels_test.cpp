// The shipped difficulty levels flown by simple pilots on the game's own physics: each level must
// be landable, and the levels must get harder in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "game/difficulty.hpp"
#include "game/flight.hpp"
#include "testkit/testkit.hpp"

using namespace teluma;
using namespace teluma::game;

namespace {

struct Result {
  bool landed = false;
  double velocity = 0;
  int fuelUsed = 0;
  int score = 0;
};

// Each turn the pilot burns what brings the speed closest to the speed it wants at its height.
Result Fly(const LevelSettings& level, const std::function<double(double)>& wantedSpeed) {
  FlightState f;
  StartFlightState(f, level);
  while (f.altitude >= 0 && !f.lost) {
    f.gravity = LunarGravity(f.altitude);
    double excess = f.velocity + f.gravity * f.timeStep - wantedSpeed(f.altitude);
    int burn = static_cast<int>(std::lround(excess / kSpeedPerLitre));
    f.burn = std::clamp(burn, 0, std::min(9, f.fuel));
    f.time += f.timeStep;
    UpdatePhysics(f);
    f.lost = LeftOrbit(f) || BrokeUp(f);
  }
  Result r;
  r.velocity = f.velocity;
  r.fuelUsed = level.initialFuel - f.fuel;
  r.landed = !f.lost && f.velocity >= 0 && f.velocity <= level.maxLandingSpeed;
  r.score = ComputeScore(f, level);
  return r;
}

LevelSettings Shipped(int n) {
  LevelSettings level;
  EXPECT_TRUE(ParseDifficulty(testkit::ReadFile(testkit::SourceDir() + "/data/lunardif.ini"), n, level));
  return level;
}

// Brakes at about 4 m/s² net, as a pilot who knows the game does.
double Steady(double h) { return std::max(1.0, 0.9 * std::sqrt(8 * h)); }
// Slows down early and descends carefully: costs time and fuel.
double Cautious(double h) { return std::min(30.0, 1 + 0.05 * h); }
double FreeFall(double) { return 1e9; }

}  // namespace

TEST(Levels, SteadyPilotLandsEveryLevelWithLessMarginEachTime) {
  int lastMargin = 1 << 30;
  for (int n = 1; n <= 3; ++n) {
    LevelSettings level = Shipped(n);
    Result r = Fly(level, Steady);
    EXPECT_TRUE(r.landed) << "level " << n << " speed " << r.velocity;
    EXPECT_GT(r.score, 3500) << "level " << n;
    int margin = level.initialFuel - r.fuelUsed;
    EXPECT_LT(margin, lastMargin) << "level " << n;
    lastMargin = margin;
  }
  EXPECT_LT(lastMargin, 30);  // the hard level leaves little to spare
}

TEST(Levels, OnlyTheGentleLevelForgivesACautiousPilot) {
  EXPECT_TRUE(Fly(Shipped(1), Cautious).landed);
  EXPECT_FALSE(Fly(Shipped(2), Cautious).landed);
  EXPECT_FALSE(Fly(Shipped(3), Cautious).landed);
}

TEST(Levels, FreeFallCrashesWithoutBreakingUp) {
  for (int n = 1; n <= 3; ++n) {
    LevelSettings level = Shipped(n);
    Result r = Fly(level, FreeFall);
    EXPECT_FALSE(r.landed);
    EXPECT_GT(r.velocity, level.maxLandingSpeed);
    EXPECT_LT(r.velocity, kBreakUpSpeed);  // a player who does nothing hears the crash itself
    EXPECT_EQ(r.fuelUsed, 0);
  }
  EXPECT_EQ(Shipped(1).level, 1);
  EXPECT_EQ(Shipped(3).maxLandingSpeed, 3);
}
