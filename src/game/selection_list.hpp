// The spoken selection list: a pop-up box of items browsed with the arrow keys, each item spoken
// when reached; the screen region it covers is restored exactly when it closes. One list at a
// time.
#pragma once
#include <string_view>

#include "game/list_logic.hpp"

// Makes room for k lines below the cursor, keeping its column.
void ReserveLines(int k);
void ListOpen(int column, int row, int width, uint8_t colour, int height);
void ListAdd(std::string_view key, std::string_view text);
// Runs the selection from item 1; returns the chosen item's index, or 0.
int ListRun();
