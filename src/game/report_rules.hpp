// The rules of the flight reports apart from their output: callouts crossed, the periodic
// altitude, fuel sounds, warnings, the altitude marker and the status line's text.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "game/physics.hpp"

// The callout texts (Windows-1252) of the thresholds crossed between the two altitudes, in the
// order 1000, 500, 250, 100, 50. Touching a threshold exactly crosses nothing.
std::vector<std::string> CrossedCallouts(double before, double after);

// Whether the periodic altitude is due in this turn.
bool PeriodicAltitudeDue(double altitude, int turn);

// The effect of this turn's burn, or empty.
std::string_view FuelEffectFor(int burn, int maxBurnPerTurn);

struct FlightWarning {
  std::string_view key;     // message
  std::string_view effect;  // sound effect, may be empty
  bool stopsBurn = false;   // the no-fuel alarm also sets burn to 0
};
// The warnings of the turn, in the order they are given.
std::vector<FlightWarning> DueWarnings(const FlightState& flight);

// The marker's move: +1 (rose above it: pong), -1 (fell 10 m or more below it: ping), 0.
int MarkerMove(double altitude, double markerAltitude);

// whole.tenth, the tenth truncated (12.97 -> "12.9").
std::string DecimalText(double x);
// The status line, ended by a carriage return.
std::string StatusLineText(const FlightState& flight);
