// The game's single pseudo-random generator and the arithmetic of the in-flight faults drawn
// from it (no console, no speech).
#pragma once
#include <cstdint>

// Seeds the generator (once, at start-up).
void SeedRandom(uint64_t seed);
// The start-up seed of the program's environment (TELUMA_SEED, else the clock).
uint64_t StartupSeed();

// A uniform random integer in [0, n).
int RandomBelow(int n);
// True when a uniform random integer in [0, n) is 0.
bool ChanceOneIn(int n);

// The burn left by a clog: (burn × r) div 5.
int CloggedBurn(int burn, int r);
// Takes a leak of amount litres from fuel (never below 0) and returns what was actually lost.
int DrainFuel(int& fuel, int amount);
