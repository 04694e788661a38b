// Random in-flight faults of levels 2 and 3: the clogged hose and the fuel leak, drawn from the
// program's single pseudo-random generator (chance.hpp).
#pragma once

#include "game/chance.hpp"

// The per-turn faults (they speak and change the current flight).
void HoseClogEvent();
void FuelLeakEvent();
