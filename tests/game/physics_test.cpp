#include <gtest/gtest.h>

#include "game/flight.hpp"

using namespace teluma;
using namespace teluma::game;

namespace {
LevelSettings Level(int altitude, int fuel, int maxBurn, int maxSpeed) {
  LevelSettings l;
  l.level = 1;
  l.initialAltitude = altitude;
  l.initialFuel = fuel;
  l.maxBurnPerTurn = maxBurn;
  l.maxLandingSpeed = maxSpeed;
  return l;
}
}  // namespace

TEST(Physics, GravityGrowsTowardsTheSurface) {
  EXPECT_NEAR(LunarGravity(0), 2.2081, 1e-4);
  EXPECT_LT(LunarGravity(1000), LunarGravity(0));
  EXPECT_DOUBLE_EQ(LunarGravity(1000), 6.67e12 / (1.739e6 * 1.739e6));
}

TEST(Physics, FreeFallAndBurnSteps) {
  FlightState f;
  StartFlightState(f, Level(1000, 200, 30, 5));
  EXPECT_EQ(f.altitude, 1000);
  EXPECT_EQ(f.time, 1.0);
  EXPECT_EQ(f.fuel, 200);
  f.gravity = LunarGravity(f.altitude);
  UpdatePhysics(f);
  EXPECT_NEAR(f.altitude, 999.989, 1e-3);
  EXPECT_DOUBLE_EQ(f.velocity, LunarGravity(1000) * 0.1);
  double h = f.altitude;

  double v = f.velocity;
  f.burn = 9;
  UpdatePhysics(f);
  EXPECT_NEAR(f.velocity - v, 0.22 - 10.29, 1e-2);
  EXPECT_EQ(f.fuel, 191);
  // trapezoid: the mean of the two speeds
  EXPECT_DOUBLE_EQ(f.altitude, h - 0.1 * (v + f.velocity) / 2);
}

TEST(Physics, StartClearsTheLossOfTheLastFlight) {
  FlightState f;
  f.lost = true;
  f.velocity = 50;
  f.burn = 4;
  f.fuelBeforeStep = 7;
  StartFlightState(f, Level(800, 100, 20, 4));
  EXPECT_FALSE(f.lost);
  EXPECT_EQ(f.velocity, 0);
  EXPECT_EQ(f.burn, 0);
  EXPECT_EQ(f.altitudeBeforeStep, 800);
  EXPECT_EQ(f.fuelBeforeStep, 7);  // kept until the first step
}

TEST(Physics, KeysBurnDigitsClampedToFuel) {
  EXPECT_EQ(BurnForKey('9', 100), 9);
  EXPECT_EQ(BurnForKey('1', 100), 1);
  EXPECT_EQ(BurnForKey('0', 100), 0);
  EXPECT_EQ(BurnForKey(' ', 100), 0);
  EXPECT_EQ(BurnForKey(13, 100), 0);
  EXPECT_EQ(BurnForKey('9', 3), 3);
  EXPECT_EQ(BurnForKey('5', 0), 0);
}

TEST(Physics, LossLimits) {
  FlightState f;
  f.altitude = 2999.9;
  EXPECT_FALSE(LeftOrbit(f));
  f.altitude = 3000;
  EXPECT_TRUE(LeftOrbit(f));
  f.velocity = 119.9;
  EXPECT_FALSE(BrokeUp(f));
  f.velocity = 120;
  EXPECT_TRUE(BrokeUp(f));
  f.velocity = -120;
  EXPECT_TRUE(BrokeUp(f));
  f.velocity = -119.9;
  EXPECT_FALSE(BrokeUp(f));
}

TEST(Score, LandingAndHardArrivalRules) {
  LevelSettings level = Level(1000, 200, 30, 5);
  FlightState f;
  f.velocity = 3.5;
  f.time = 40;
  f.fuel = 140;  // 60 litres used
  EXPECT_EQ(ComputeScore(f, level), 4144);

  f.velocity = 5;  // exactly the limit: the 2000-point rule
  EXPECT_EQ(ComputeScore(f, level), static_cast<int>(2000 - (160 + 180 + 565)));

  f.velocity = 0;  // standing still counts by the 2000-point rule too
  EXPECT_EQ(ComputeScore(f, level), 2000 - 160 - 180);

  f.velocity = 30;  // an explosion scored as written: below zero becomes 0
  EXPECT_EQ(ComputeScore(f, level), 0);

  f.velocity = 6;
  f.time = 10;
  f.fuel = 200;
  EXPECT_EQ(ComputeScore(f, level), static_cast<int>(2000 - (40 + 678)));
}

TEST(Score, TruncatesTowardsZero) {
  LevelSettings level = Level(1000, 200, 30, 5);
  FlightState f;
  f.velocity = 1.0 / 3;
  f.time = 20.1;
  f.fuel = 200;
  // 5000 - (140.7 + 37.666...) = 4821.63...
  EXPECT_EQ(ComputeScore(f, level), 4821);
}

TEST(Score, LostAndCraterScoreZero) {
  LevelSettings level = Level(1000, 200, 30, 5);
  FlightState f;
  f.velocity = 2;
  f.time = 30;
  f.fuel = 150;
  f.lost = true;
  EXPECT_EQ(ComputeScore(f, level), 0);
  f.lost = false;
  f.velocity = -3;  // rose below the surface
  EXPECT_EQ(ComputeScore(f, level), 0);
  f.velocity = -150;
  EXPECT_EQ(ComputeScore(f, level), 0);
}
