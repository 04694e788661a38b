#include <gtest/gtest.h>

#include "game/chance.hpp"
#include "game/reports.hpp"

TEST(Reports, CalloutsOnCrossingInEitherDirection) {
  EXPECT_EQ(CrossedCallouts(1000.5, 999.7), std::vector<std::string>{"Mil metros."});
  EXPECT_EQ(CrossedCallouts(999.7, 1000.2), std::vector<std::string>{"Mil metros."});
  EXPECT_TRUE(CrossedCallouts(1000.5, 1000).empty());
  EXPECT_TRUE(CrossedCallouts(1000, 999.5).empty());
  EXPECT_EQ(CrossedCallouts(600, 40),
            (std::vector<std::string>{"Quinhentos metros.", "Duzentos e cinquenta metros.",
                                      "Cem metros.", "Cinquenta metros."}));
}

TEST(Reports, PeriodicAltitudeIntervals) {
  EXPECT_TRUE(PeriodicAltitudeDue(41, 120));
  EXPECT_FALSE(PeriodicAltitudeDue(41, 40));
  EXPECT_TRUE(PeriodicAltitudeDue(40.9, 40));  // trunc 40: the low-altitude interval
  EXPECT_TRUE(PeriodicAltitudeDue(35, 80));
  EXPECT_FALSE(PeriodicAltitudeDue(35, 100));
}

TEST(Reports, FuelEffects) {
  EXPECT_EQ(FuelEffectFor(0, 30), "");
  EXPECT_EQ(FuelEffectFor(1, 30), "APLICCOMB");
  EXPECT_EQ(FuelEffectFor(10, 30), "APLICCOMB");
  EXPECT_EQ(FuelEffectFor(11, 30), "APLICCOMB2");
  EXPECT_EQ(FuelEffectFor(20, 30), "APLICCOMB2");
  EXPECT_EQ(FuelEffectFor(21, 30), "APLICCOMB3");
  EXPECT_EQ(FuelEffectFor(31, 30), "");
}

TEST(Reports, WarningsInOrder) {
  FlightState f;
  f.turn = 600;  // divisible by 100, 200 and 30
  f.altitude = 900;
  f.velocity = 3;
  f.velocityBeforeStep = 3;
  f.fuelBeforeStep = 5;
  f.fuel = 0;
  auto w = DueWarnings(f);
  ASSERT_EQ(w.size(), 3u);
  EXPECT_EQ(w[0].key, "LULENTO");
  EXPECT_EQ(w[1].key, "LUFIMCOM");
  EXPECT_EQ(w[1].effect, "ALARM2");
  EXPECT_EQ(w[2].key, "LUSEMCOM");
  EXPECT_TRUE(w[2].stopsBurn);

  f = FlightState{};
  f.turn = 30;
  f.altitude = 149.9;
  f.velocity = 66;
  f.velocityBeforeStep = 64;
  f.fuel = f.fuelBeforeStep = 10;
  w = DueWarnings(f);
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(w[0].key, "LURAPIDO");
  EXPECT_EQ(w[1].key, "LUDEMAIS");
  f.turn = 31;
  f.velocityBeforeStep = 65;  // must pass 65 from below
  EXPECT_TRUE(DueWarnings(f).empty());
}

TEST(Reports, MarkerAndNumbers) {
  EXPECT_EQ(MarkerMove(1000.1, 1000), 1);
  EXPECT_EQ(MarkerMove(990.1, 1000), 0);
  EXPECT_EQ(MarkerMove(990, 1000), -1);
  EXPECT_EQ(DecimalText(12.97), "12.9");
  EXPECT_EQ(DecimalText(987.5), "987.5");
  EXPECT_EQ(DecimalText(0), "0.0");

  FlightState f;
  f.time = 1.1;
  f.altitude = 999.989;
  f.velocity = 0.2208;
  f.fuel = 200;
  EXPECT_EQ(StatusLineText(f),
            "tempo= 1.1 altura= 1000.0 velocidade= 0.2 combust\xEDvel atual= 200\r");
  f.velocity = -3.46;
  EXPECT_NE(StatusLineText(f).find("velocidade= -3.5 "), std::string::npos);
}

TEST(Events, GeneratorRangesAndArithmetic) {
  SeedRandom(42);
  int seen[5] = {};
  for (int i = 0; i < 1000; ++i) {
    int r = RandomBelow(5);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 5);
    ++seen[r];
  }
  for (int n : seen) EXPECT_GT(n, 100);
  SeedRandom(7);
  int first = RandomBelow(5000);
  SeedRandom(7);
  EXPECT_EQ(RandomBelow(5000), first);  // a seed replays the same game
  EXPECT_TRUE(ChanceOneIn(1));

  EXPECT_EQ(CloggedBurn(9, 4), 7);
  EXPECT_EQ(CloggedBurn(9, 0), 0);
  int fuel = 3;
  EXPECT_EQ(DrainFuel(fuel, 8), 3);
  EXPECT_EQ(fuel, 0);
  fuel = 50;
  EXPECT_EQ(DrainFuel(fuel, 8), 8);
  EXPECT_EQ(fuel, 42);
}
