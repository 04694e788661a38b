// What the pilot hears and sees during a flight: altitude callouts, periodic altitude, warnings,
// fuel sounds, the full report on the space bar and the live status line.
#pragma once
#include "game/report_rules.hpp"

// The reports (console and speech).
void SayDecimal(double x);
void AltitudeCallouts();
void PeriodicAltitude();
void FuelSound();
void FlightWarnings();
void FullReport();
void StatusLine(double& markerAltitude);
