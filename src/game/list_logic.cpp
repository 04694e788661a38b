// Key logic and geometry of the selection list.
#include "game/list_logic.hpp"

#include "platform/text_case.hpp"

namespace {

bool IsSearchKey(uint8_t c) {
  return (c >= 1 && c <= 26) || c == 42 || c == 43 || c == 45 || (c >= 47 && c <= 57) ||
         (c >= 65 && c <= 90);
}

uint8_t FirstCharacter(const std::string& text) {
  size_t i = text.find_first_not_of(' ');
  return i == std::string::npos ? 0 : static_cast<uint8_t>(text[i]);
}

}  // namespace

int SearchItems(int current, const std::vector<ListItem>& items, uint8_t c) {
  int count = static_cast<int>(items.size());
  int from = current > count ? 1 : current + 1;
  for (int i = from < 1 ? 1 : from; i <= count; ++i)
    if (platform::UpperCp1252(FirstCharacter(items[i - 1].text)) == c) return i;
  return count + 1;
}

ListAction ApplyListKey(int& current, const std::vector<ListItem>& items, uint8_t key,
                        uint8_t extended) {
  int count = static_cast<int>(items.size());
  ListAction action = ListAction::Speak;
  if (key == 0) {
    switch (extended) {
      case 72: --current; break;
      case 80: case 9: ++current; break;
      case 71: case 132: current = 1; break;
      case 79: case 118: current = count; break;
      case 73: current -= 10; break;
      case 81: current += 10; break;
      case 77: action = ListAction::Spell; break;
      default: break;
    }
  } else if (key == 13) {
    action = ListAction::Choose;
  } else if (key == 27) {
    action = ListAction::Cancel;
  } else if (key == 223) {
    action = ListAction::FocusLost;
  } else if (uint8_t c = platform::UpperCp1252(key); IsSearchKey(c)) {
    current = SearchItems(current, items, c);
  }
  if (current < 0) current = 0;
  if (current > count) current = count + 1;
  return action;
}

void FitListBox(int& column, int& row, int width, int height, int lastRow) {
  if (column + width > 80) column = 80 - width;
  if (column < 1) column = 1;  // a box wider than the screen starts at its left edge
  if (lastRow < row + height) row = lastRow - height + 1;
  if (row <= 0) row = 1;
}

int ScrolledFirst(int k, int firstVisible, int topRow, int lastRow) {
  int first = firstVisible;
  if (k >= 1 && k < first) return k;
  while (k + topRow - first > lastRow) ++first;
  return first;
}
