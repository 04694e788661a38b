// The flight: level question, briefing, the real-time turn loop and the outcome.
#include <cmath>
#include <string>

#include "console/TlCrt.hpp"
#include "game/difficulty.hpp"
#include "game/faults.hpp"
#include "game/flight.hpp"
#include "game/messages.hpp"
#include "game/reports.hpp"
#include "platform/events.hpp"
#include "speech/lineedit.hpp"
#include "speech/tlwin.hpp"

namespace {
constexpr uint8_t kRed = 4, kBlue = 1, kBlack = 0;
// A turn whose own work (drawing, bookkeeping) took less than this is shortened by it, so that
// turns keep to the real clock; a longer one was held up by speech and pauses in full.
constexpr int64_t kCompensatedWorkMs = 20;

// The pause that ends a turn. turnStart is when the turn should have started.
void PauseAfterTurn(const FlightState& flight, int64_t& turnStart) {
  int64_t step = static_cast<int64_t>(std::trunc(flight.timeStep * 1000));
  int64_t work = platform::NowMs() - turnStart;
  if (work >= 0 && work < kCompensatedWorkMs && work < step) {
    Pause(static_cast<uint16_t>(step - work));
    turnStart += step;
  } else {
    Pause(static_cast<uint16_t>(step));
    turnStart = platform::NowMs();
  }
}
}  // namespace

void ResetFlight() {
  ChooseDifficulty();
  StartFlightState(CurrentFlight(), CurrentLevel());
}

void BriefFlight() {
  const LevelSettings& level = CurrentLevel();
  SetKeyInterrupts(false);
  PlayPhrase("FOGUETE");
  SayMessage("LUOLA", 2);
  SayMessage("LUALTINI", 0);
  SpeakWriteLn(std::to_string(level.initialAltitude) + " metros");
  SayMessage("LUVELINI", 0);
  SpeakWriteLn("0 metros por segundo ");
  SayMessage("LUCOMINI", 0);
  SpeakWriteLn(std::to_string(level.initialFuel) + " litros");
  WriteLn();
  SayMessage("LUAPENTR", 1);
  ReadLn();
  SetKeyInterrupts(true);
}

void HandleKeys() {
  FlightState& flight = CurrentFlight();
  uint8_t key = WaitForKey();
  while (KeyWaiting()) key = WaitForKey();  // only the last key counts
  if (key == ' ') {
    FullReport();
  } else if (key == 13) {
    SpeakWriteLn(std::to_string(static_cast<long long>(std::trunc(flight.altitude))));
  }
  flight.burn = BurnForKey(key, flight.fuel);
}

void CheckLost() {
  FlightState& flight = CurrentFlight();
  if (LeftOrbit(flight)) {
    PlayPhrase("EXPLODE");
    SayMessage("LUFORORB", 1);
    flight.lost = true;
  }
  if (BrokeUp(flight)) {
    PlayPhrase("EXPLODE");
    SayMessage("LUNSUPOR", 1);
    flight.lost = true;
  }
}

void AnnounceOutcome() {
  const FlightState& flight = CurrentFlight();
  const LevelSettings& level = CurrentLevel();
  double v = flight.velocity;
  SetKeyInterrupts(false);
  if (v > level.maxLandingSpeed) {
    PlayPhrase("EXPLODE");
    WriteLn();
    SetBackground(kRed);
    SayMessage("LUNVEXPL", 0);
    SetBackground(kBlack);
    WriteLn();
  } else if (v >= 0) {
    PlayPhrase("ATERRIZAGEM");
    WriteLn();
    SetBackground(kBlue);
    SayMessage("LUNVPOUS", 0);
    SetBackground(kBlack);
    WriteLn();
  }
  WriteLn();
  if (v > -100 && v < 0 && flight.altitude < kOrbitLimit) {
    PlayPhrase("EXPLODE");
    SetBackground(kRed);
    SayMessage("LUENTERR", 0);
    SetBackground(kBlack);
    WriteLn();
  }
  if (v >= 0) {
    SayMessage("LUVELFIM", 0);
    SayDecimal(v);
    WriteLn();
  }
  SayMessage("LUCOMGAS", 0);
  SpeakNumber(level.initialFuel - flight.fuel);
  WriteLn();
  SayMessage("LUPTSFIM", 0);
  SpeakNumber(flight.score);
  WriteLn();
  SetKeyInterrupts(true);
}

int FlyOnce() {
  FlightState& flight = CurrentFlight();
  const LevelSettings& level = CurrentLevel();
  ResetFlight();
  BriefFlight();
  SetKeyInterrupts(false);
  flight.turn = 0;
  flight.markerAltitude = flight.altitude;
  int64_t turnStart = platform::NowMs();
  while (flight.altitude >= 0) {
    flight.gravity = LunarGravity(flight.altitude);
    ++flight.turn;
    AltitudeCallouts();
    PeriodicAltitude();
    flight.burn = 0;
    // Without fuel the keys are not read: they stay queued.
    if (flight.fuel > 0 && KeyWaiting()) HandleKeys();
    if (flight.burn > 0 && level.level != 1) HoseClogEvent();
    FuelSound();
    FlightWarnings();
    flight.time += flight.timeStep;
    flight.fuelBeforeStep = flight.fuel;
    flight.velocityBeforeStep = flight.velocity;
    flight.altitudeBeforeStep = flight.altitude;
    UpdatePhysics(flight);
    CheckLost();
    if (flight.lost) break;
    if (flight.fuel > 0 && level.level != 1) FuelLeakEvent();
    StatusLine(flight.markerAltitude);
    PauseAfterTurn(flight, turnStart);
  }
  FlushKeys();
  flight.score = ComputeScore(flight, level);
  SetKeyInterrupts(true);
  AnnounceOutcome();
  return flight.score;
}
