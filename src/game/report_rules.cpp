// The rules of the flight reports, apart from their output.
#include <cmath>
#include <cstdio>

#include "game/report_rules.hpp"

namespace {
struct Callout {
  double threshold;
  const char* text;
};
constexpr Callout kCallouts[] = {{1000, "Mil metros."},
                                 {500, "Quinhentos metros."},
                                 {250, "Duzentos e cinquenta metros."},
                                 {100, "Cem metros."},
                                 {50, "Cinquenta metros."}};

long long Trunc(double x) { return static_cast<long long>(std::trunc(x)); }
}  // namespace

std::vector<std::string> CrossedCallouts(double before, double after) {
  std::vector<std::string> texts;
  for (const auto& c : kCallouts)
    if ((before > c.threshold && after < c.threshold) || (before < c.threshold && after > c.threshold))
      texts.emplace_back(c.text);
  return texts;
}

bool PeriodicAltitudeDue(double altitude, int turn) {
  return Trunc(altitude) > 40 ? turn % 120 == 0 : turn % 40 == 0;
}

std::string_view FuelEffectFor(int burn, int maxBurnPerTurn) {
  if (burn > 0 && burn <= 10) return "APLICCOMB";
  if (burn > 10 && burn <= 20) return "APLICCOMB2";
  if (burn > 20 && burn <= maxBurnPerTurn) return "APLICCOMB3";
  return {};
}

std::vector<FlightWarning> DueWarnings(const FlightState& f) {
  std::vector<FlightWarning> due;
  if (f.turn % 100 == 0 && Trunc(f.altitude) > 800 && f.velocity > 0 && f.velocity < 5)
    due.push_back({"LULENTO", {}, false});
  if (f.fuelBeforeStep != 0 && f.fuel == 0) due.push_back({"LUFIMCOM", "ALARM2", false});
  if (f.turn % 200 == 0 && f.fuel == 0) due.push_back({"LUSEMCOM", "ALARM2", true});
  if (Trunc(f.altitude) < 150 && f.turn % 30 == 0 && f.velocity > 30)
    due.push_back({"LURAPIDO", {}, false});
  if (f.velocityBeforeStep < 65 && f.velocity > 65) due.push_back({"LUDEMAIS", {}, false});
  return due;
}

int MarkerMove(double altitude, double markerAltitude) {
  if (altitude > markerAltitude) return 1;
  if (markerAltitude - altitude >= 10) return -1;
  return 0;
}

std::string DecimalText(double x) {
  long long whole = Trunc(x);
  long long tenth = Trunc((x - std::trunc(x)) * 10);
  return std::to_string(whole) + "." + std::to_string(tenth);
}

std::string StatusLineText(const FlightState& f) {
  char line[200];
  std::snprintf(line, sizeof line,
                "tempo= %3.1f altura= %3.1f velocidade= %3.1f combust\xEDvel atual= %d\r", f.time,
                f.altitude, f.velocity, f.fuel);
  return line;
}
