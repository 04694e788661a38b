// The flight reports as written and spoken.
#include <cmath>
#include <string>

#include "console/TlCrt.hpp"
#include "game/difficulty.hpp"
#include "game/messages.hpp"
#include "game/reports.hpp"
#include "speech/tlwin.hpp"

namespace {
constexpr uint8_t kRed = 4, kBlack = 0;
}

void SayDecimal(double x) {
  std::string text = DecimalText(x);
  Write(text);
  size_t dot = text.find('.');
  SpeakText(text.substr(0, dot) + " ponto " + text.substr(dot + 1));
}

void AltitudeCallouts() {
  const FlightState& flight = CurrentFlight();
  ClearToLineEnd();
  for (const auto& text : CrossedCallouts(flight.altitudeBeforeStep, flight.altitude))
    SpeakWriteLn(text);
}

void PeriodicAltitude() {
  const FlightState& flight = CurrentFlight();
  ClearToLineEnd();
  if (PeriodicAltitudeDue(flight.altitude, flight.turn)) SayDecimal(flight.altitude);
}

void FuelSound() {
  std::string_view effect = FuelEffectFor(CurrentFlight().burn, CurrentLevel().maxBurnPerTurn);
  if (!effect.empty()) PlaySoundEffect(effect);
}

void FlightWarnings() {
  FlightState& flight = CurrentFlight();
  ClearToLineEnd();
  for (const auto& warning : DueWarnings(flight)) {
    SetBackground(kRed);
    if (!warning.effect.empty()) PlaySoundEffect(warning.effect);
    SayMessage(warning.key, 1);
    SetBackground(kBlack);
    if (warning.stopsBurn) flight.burn = 0;
  }
}

void FullReport() {
  const FlightState& f = CurrentFlight();
  if (f.velocity > 0 && f.velocity < 5) SayMessage("LULENTO", 1);
  if (f.altitude < 100 && f.velocity > 25)
    SayMessage("LURAPIDO", 1);
  else if (f.velocity > 50)
    SayMessage("LUDEMAIS", 1);
  SayMessage("LUTEMPO", 0);
  SpeakNumber(static_cast<int32_t>(std::trunc(f.time)));
  WriteLn();
  SayMessage("LUALTURA", 0);
  SayDecimal(f.altitude);
  WriteLn();
  if (f.velocity < 0) {
    SayMessage("LUVCSOBE", 1);
    SayMessage("LUVELOC", 0);
    SayDecimal(-f.velocity);
  } else {
    SayMessage("LUVELOC", 0);
    SayDecimal(f.velocity);
  }
  WriteLn();
  if (f.fuel > 0) {
    SayMessage("LUCOMBTQ", 0);
    SpeakNumber(f.fuel);
    WriteLn();
  }
}

void StatusLine(double& markerAltitude) {
  const FlightState& flight = CurrentFlight();
  ClearToLineEnd();
  switch (MarkerMove(flight.altitude, markerAltitude)) {
    case 1:
      PlaySoundEffect("pong.wav");
      markerAltitude += flight.markerStep;
      break;
    case -1:
      PlaySoundEffect("ping2.wav");
      markerAltitude -= flight.markerStep;
      break;
    default: break;
  }
  ClearToLineEnd();
  Write(StatusLineText(flight));
}
