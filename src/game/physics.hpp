// The flight's physics and score: the state of the rocket, one step of simulated time, the
// burn a key asks for, the end checks and the score (no console, no speech).
#pragma once
#include <cstdint>

#include "game/difficulty_file.hpp"

struct FlightState {
  double altitude = 0;  // m above the surface; negative once below it
  double velocity = 0;  // m/s, positive = falling
  double gravity = 0;   // m/s²
  double time = 1.0;    // s
  double timeStep = 0.1;
  int fuel = 0;  // litres left
  int burn = 0;  // litres burned this turn
  int turn = 0;
  double altitudeBeforeStep = 0;
  double velocityBeforeStep = 0;
  int fuelBeforeStep = 0;
  bool lost = false;
  double markerAltitude = 0;  // altitude marker of the ping/pong sounds
  int markerStep = 10;
  int score = 0;
};

constexpr double kSpeedPerLitre = 8.0 / 7.0;
constexpr double kOrbitLimit = 3000;
constexpr double kBreakUpSpeed = 120;

// The flight of the whole run (the game has one rocket at a time).
FlightState& CurrentFlight();

double LunarGravity(double altitude);

// Sets the state for a new flight of the given level settings (everything but the level
// question).
void StartFlightState(FlightState& flight, const LevelSettings& level);

// One trapezoidal integration step with the burn of this turn.
void UpdatePhysics(FlightState& flight);

// The burn a key asks for ('1' to '9'), clamped to the fuel left; 0 for any other key.
int BurnForKey(uint8_t key, int fuel);

// The two in-flight end checks, apart from what they say.
bool LeftOrbit(const FlightState& flight);
bool BrokeUp(const FlightState& flight);

// The flight's score. A flight that ends below the surface while rising (the crater) or that was
// lost scores 0.
int ComputeScore(const FlightState& flight, const LevelSettings& level);
