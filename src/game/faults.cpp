// The clogged hose and the fuel leak, as announced to the pilot.
#include <string>

#include "console/TlCrt.hpp"
#include "game/faults.hpp"
#include "game/flight.hpp"
#include "game/messages.hpp"
#include "speech/tlwin.hpp"

namespace {
constexpr uint8_t kRed = 4, kBlack = 0;
}

void HoseClogEvent() {
  if (!ChanceOneIn(2000)) return;
  FlightState& flight = CurrentFlight();
  flight.burn = CloggedBurn(flight.burn, RandomBelow(5));
  ClearToLineEnd();
  SetBackground(kRed);
  PlayPhrase("ENTUPIME");
  SayMessage("LUENTOPE", 0);
  SpeakNumber(flight.burn);
  Write(".");
  WriteLn();
  SayMessage("LUINJETE", 0);
  SetBackground(kBlack);
  WriteLn();
}

void FuelLeakEvent() {
  int amount = 5 + RandomBelow(5);  // drawn on every call, before the chance
  if (!ChanceOneIn(5000)) return;
  FlightState& flight = CurrentFlight();
  amount = DrainFuel(flight.fuel, amount);
  ClearToLineEnd();
  PlayPhrase("VAZAMENT");
  SetBackground(kRed);
  SayMessage("LUCOMVAZ", 0);
  SpeakNumber(amount);
  SetBackground(kBlack);
  WriteLn();
}
