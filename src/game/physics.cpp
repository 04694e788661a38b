// The flight's physics and score.
#include <cmath>

#include "game/physics.hpp"

FlightState& CurrentFlight() {
  static FlightState flight;
  return flight;
}

double LunarGravity(double altitude) {
  double r = altitude + 1.738e6;
  return 6.67e12 / (r * r);
}

void StartFlightState(FlightState& flight, const LevelSettings& level) {
  flight.velocity = 0;
  flight.altitude = flight.altitudeBeforeStep = level.initialAltitude;
  flight.time = 1.0;
  flight.fuel = level.initialFuel;
  flight.burn = 0;
  flight.markerStep = 10;
  flight.lost = false;
  flight.timeStep = 0.1;
  flight.gravity = LunarGravity(flight.altitude);
}

void UpdatePhysics(FlightState& flight) {
  double v = flight.velocity;
  double newVelocity = flight.gravity * flight.timeStep + v - flight.burn * kSpeedPerLitre;
  flight.altitude = flight.altitude - flight.timeStep * (v + newVelocity) / 2;
  flight.velocity = newVelocity;
  flight.fuel -= flight.burn;
}

int BurnForKey(uint8_t key, int fuel) {
  int burn = key >= '1' && key <= '9' ? key - '0' : 0;
  return burn > fuel ? fuel : burn;
}

bool LeftOrbit(const FlightState& flight) { return flight.altitude >= kOrbitLimit; }

bool BrokeUp(const FlightState& flight) {
  return flight.velocity <= -kBreakUpSpeed || flight.velocity >= kBreakUpSpeed;
}

int ComputeScore(const FlightState& flight, const LevelSettings& level) {
  long double v = flight.velocity;
  long double t = flight.time;
  long double fuelUsed = level.initialFuel - flight.fuel;
  long double score = 0;
  if (v > 0 && v < level.maxLandingSpeed)
    score = 5000 - (7 * t + 3 * fuelUsed + 113 * v);
  else if (v >= 0)
    score = 2000 - (4 * t + 3 * fuelUsed + 113 * v);
  // A rising rocket below the surface dug a crater: the flight is lost.
  if (score < 0 || flight.lost || v < 0) return 0;
  return static_cast<int>(std::trunc(score));
}
