// The table of the ten best pilots ("ases pilotos"): loading, sorting, recording a new score,
// saving to "luplacar.ini" in the current folder, and browsing it as a spoken list.
#pragma once
#include "game/score_file.hpp"

void SortScores();
void LoadScores();
void SaveScores();
void RecordScore(int score);
void ShowScores();
