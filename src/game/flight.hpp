// One flight: the turn loop that drives the physics (physics.hpp) in real time (a turn is 0.1 s
// of simulated time followed by a 100 ms pause), with its spoken parts.
#pragma once
#include "game/physics.hpp"

// The turn loop and its spoken parts (use the console and the speech front end).
void ResetFlight();
void BriefFlight();
void HandleKeys();
void CheckLost();
void AnnounceOutcome();
// Runs one whole flight from the level question to the outcome; returns the score.
int FlyOnce();
