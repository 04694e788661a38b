// An independent model of one flight: the physics, the per-turn reports and the outcome, as the
// items (see world.hpp) the game must produce.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "conformance_world.hpp"

namespace conformance {

struct Level {
  int number = 1;
  int altitude = 0;
  int fuel = 0;
  int maxBurn = 0;
  int maxLanding = 0;
};

// Values a flight inherits from the one before (the game resets neither).
struct Carry {
  double velocityBefore = 0;
  int fuelBefore = 0;
};

struct Flight {
  std::vector<Item> items;  // turn loop and outcome, up to the spoken score
  double altitude = 0, velocity = 0, time = 0;
  int fuel = 0, used = 0, score = 0, turns = 0;
  bool lost = false;
  int clogChances = 0, leakChances = 0;  // turns in which each fault could strike
};

// Keys read in each turn (turn numbers from 1).
using KeysByTurn = std::map<int, std::vector<int>>;

// Random faults as the game reported them: turn -> the burn left by a clogged hose, turn -> the
// litres a leak drained.
struct Faults {
  std::map<int, int> clog;
  std::map<int, int> leak;
};

// The faults reported in the flight whose turn loop starts at event `start`.
Faults FaultsOfFlight(const testkit::RunResult& r, size_t start);

// The keys the game took in each turn of the flight whose turn loop starts at event `start`:
// a key belongs to the turn after the last status line written before it.
KeysByTurn KeysOfFlight(const testkit::RunResult& r, size_t start);

// Catalogue text (UTF-8) of a key.
std::string Text(const std::string& key);
// The items of saying a message without a recording.
std::vector<Item> Say(const std::string& key, int lineEnds);
// Status-line number: one decimal, at least 3 wide.
std::string Fixed1(double x);

std::vector<Item> Briefing(const Level& level);
// faults: where the game's random draws struck (the model has no generator of its own).
Flight Fly(const Level& level, const KeysByTurn& keys, Carry& carry, const Faults& faults = {});
// The outcome items (after the turn loop) for a final state.
int Score(const Level& level, double velocity, double time, int used, bool lost);

}  // namespace conformance
