// The selection list's key logic and geometry: what a key does, searching, fitting and scrolling
// the box (no console, no speech).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ListItem {
  int index = 0;
  std::string key;   // phrase key, may be empty
  std::string text;  // Windows-1252
};

enum class ListAction { Speak, Spell, Choose, Cancel, FocusLost };

constexpr uint8_t kListBlank = ' ';

// Acts on one key (key 0 = extended, with its second code) and clamps current to 0..count+1.
ListAction ApplyListKey(int& current, const std::vector<ListItem>& items, uint8_t key,
                        uint8_t extended);

// The item reached by a search for character c after current (no wrap; count + 1 when none).
int SearchItems(int current, const std::vector<ListItem>& items, uint8_t c);

// The box moved so that it fits: left of column 80, above the last screen row, row at least 1.
void FitListBox(int& column, int& row, int width, int height, int lastRow);

// The first visible item after scrolling to item k.
int ScrolledFirst(int k, int firstVisible, int topRow, int lastRow);
