// The spoken selection list on the console.
#include <algorithm>

#include "console/TlCrt.hpp"
#include "game/selection_list.hpp"
#include "platform/events.hpp"
#include "speech/tlwin.hpp"

using namespace teluma::console;
using namespace teluma::speech;
using namespace teluma::playback;

namespace teluma::game {

namespace {

constexpr int kLastRow = 25;
constexpr uint8_t kHighlight = 14, kNormal = 15;

struct SelectionList {
  int column = 1, topRow = 1, width = 0, firstVisible = 1;
  std::vector<ListItem> items;
  std::vector<uint8_t> savedChars, savedAttrs;
  int rightColumn = 0, bottomRow = 0;
  int savedColumn = 1, savedRow = 1;
  uint8_t savedAttribute = 0;
};

SelectionList& List() {
  static SelectionList list;
  return list;
}

int Count() { return static_cast<int>(List().items.size()); }
bool IsItem(int i) { return i >= 1 && i <= Count(); }
int RowOf(int i) { return List().topRow + i - List().firstVisible; }

std::string Shown(const ListItem& item) {
  std::string text = item.text;
  text.resize(static_cast<size_t>(std::max(List().width, 0)), ' ');
  return text;
}

void WriteItem(int i, uint8_t colour) {
  SetForeground(colour);
  Write(Shown(List().items[i - 1]));
}

void DrawItems() {
  SelectionList& list = List();
  for (int i = 1; i <= Count(); ++i) {
    int row = RowOf(i);
    if (row < list.topRow) continue;
    if (row > kLastRow) break;
    MoveCursor(list.column, row);
    WriteItem(i, kNormal);
  }
}

void ScrollTo(int k) {
  SelectionList& list = List();
  int first = ScrolledFirst(k, list.firstVisible, list.topRow, kLastRow);
  if (first != list.firstVisible) {
    list.firstVisible = first;
    DrawItems();
  }
}

void SayItem(const ListItem& item, uint8_t extended) {
  if (extended == 77)
    SpellText(item.text);
  else if (!item.key.empty() && PhraseExists(item.key))
    PlayPhrase(item.key);
  else
    SpeakText(item.text);
}

int SelectionLoop(int start) {
  SelectionList& list = List();
  int current = start;
  uint8_t key = kListBlank, extended = kListBlank;
  DrawItems();
  ScrollTo(current);
  bool done = false;
  if (current == 0) {
    key = WaitForKey();
    if (key == 0) extended = WaitForKey();
  }
  for (;;) {
    MoveCursor(list.column, RowOf(current));
    if (IsItem(current)) WriteItem(current, kNormal);
    ListAction action = ApplyListKey(current, list.items, key, extended);
    if (action == ListAction::Choose || action == ListAction::Cancel) done = true;
    if (action == ListAction::FocusLost)
      while (!KeyWaiting()) platform::WaitMessage();
    if (!IsItem(current)) {
      ShortBeep();
    } else if (!done) {
      ScrollTo(current);
      MoveCursor(list.column, RowOf(current));
      WriteItem(current, kHighlight);
      MoveCursor(list.column, RowOf(current));
      SayItem(list.items[current - 1], extended);
    }
    if (done) break;
    key = WaitForKey();
    extended = kListBlank;
    StopSpeech();
    if (key == 0) extended = WaitForKey();
  }
  int result = 0;
  if (IsItem(current) && key != 27) {
    MoveCursor(list.column, RowOf(current));
    WriteItem(current, kHighlight);
    SetForeground(kNormal);
    result = list.items[current - 1].index;
  }
  MoveCursor(1, std::min(list.topRow + Count(), kLastRow));
  list.items.clear();
  return result;
}

// Writes the saved region back, one run of equal attributes at a time.
void RestoreRegion() {
  SelectionList& list = List();
  int width = list.rightColumn - list.column + 1;
  if (width <= 0) return;
  for (int row = list.topRow; row <= list.bottomRow; ++row) {
    size_t base = static_cast<size_t>(row - list.topRow) * width;
    MoveCursor(list.column, row);
    for (int c = 0; c < width;) {
      uint8_t attr = list.savedAttrs[base + c];
      int end = c;
      while (end < width && end - c < 80 && list.savedAttrs[base + end] == attr) ++end;
      TextAttr() = attr;
      Write(std::string_view(reinterpret_cast<const char*>(&list.savedChars[base + c]), end - c));
      c = end;
    }
  }
}

}  // namespace

void ReserveLines(int k) {
  int column = CursorColumn();
  for (int i = 0; i < k; ++i) WriteLn();
  MoveCursor(column, CursorRow() - k);
}

void ListOpen(int column, int row, int width, uint8_t colour, int height) {
  SelectionList& list = List();
  list.savedColumn = CursorColumn();
  list.savedRow = CursorRow();
  FitListBox(column, row, width, height, kLastRow);
  list.savedAttribute = TextAttr();
  SetBackground(colour);
  list.column = column;
  list.topRow = std::max(row, 1);
  list.width = width;
  list.firstVisible = 1;
  list.items.clear();
  list.items.reserve(100);
  list.rightColumn = std::min(column + width - 1, 80);
  list.bottomRow = std::min(row + height - 1, kLastRow);
  list.savedChars.clear();
  list.savedAttrs.clear();
  for (int r = list.topRow; r <= list.bottomRow; ++r)
    for (int c = list.column; c <= list.rightColumn; ++c) {
      list.savedChars.push_back(CharAt(c, r));
      list.savedAttrs.push_back(AttrAt(c, r));
    }
}

void ListAdd(std::string_view key, std::string_view text) {
  SelectionList& list = List();
  if (list.items.size() == list.items.capacity()) list.items.reserve(list.items.size() + 100);
  list.items.push_back({Count() + 1, std::string(key), std::string(text)});
}

int ListRun() {
  SelectionList& list = List();
  int result = SelectionLoop(1);
  RestoreRegion();
  list.savedChars.clear();
  list.savedAttrs.clear();
  TextAttr() = list.savedAttribute;
  MoveCursor(list.savedColumn, list.savedRow);
  return result;
}

}  // namespace teluma::game
