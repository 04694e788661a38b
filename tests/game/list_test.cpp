#include <gtest/gtest.h>

#include "game/scores.hpp"
#include "game/selection_list.hpp"

using namespace teluma;
using namespace teluma::game;

namespace {
std::vector<ListItem> Items(std::initializer_list<const char*> texts) {
  std::vector<ListItem> items;
  for (const char* t : texts) items.push_back({static_cast<int>(items.size()) + 1, "", t});
  return items;
}
constexpr uint8_t kUp = 72, kDown = 80, kHome = 71, kEnd = 79, kPgUp = 73, kPgDn = 81, kRight = 77;
}  // namespace

TEST(ListKeys, MovesAndClamps) {
  auto items = Items({"um", "dois", "tres"});
  int current = 3;
  EXPECT_EQ(ApplyListKey(current, items, 0, kDown), ListAction::Speak);
  EXPECT_EQ(current, 4);  // past the end: the caller beeps
  ApplyListKey(current, items, 0, kDown);
  EXPECT_EQ(current, 4);
  ApplyListKey(current, items, 0, kUp);
  EXPECT_EQ(current, 3);
  ApplyListKey(current, items, 0, kHome);
  EXPECT_EQ(current, 1);
  ApplyListKey(current, items, 0, kEnd);
  EXPECT_EQ(current, 3);
  ApplyListKey(current, items, 0, 9);
  EXPECT_EQ(current, 4);
  ApplyListKey(current, items, 0, 132);  // Ctrl+PgUp
  EXPECT_EQ(current, 1);
  ApplyListKey(current, items, 0, kPgDn);
  EXPECT_EQ(current, 4);
  current = 3;
  ApplyListKey(current, items, 0, kPgUp);
  EXPECT_EQ(current, 0);
  EXPECT_EQ(ApplyListKey(current, items, 0, kRight), ListAction::Spell);
  EXPECT_EQ(current, 0);
}

TEST(ListKeys, EnterEscFocusAndOtherKeys) {
  auto items = Items({"um", "dois"});
  int current = 2;
  EXPECT_EQ(ApplyListKey(current, items, 13, kListBlank), ListAction::Choose);
  EXPECT_EQ(ApplyListKey(current, items, 27, kListBlank), ListAction::Cancel);
  EXPECT_EQ(ApplyListKey(current, items, 223, kListBlank), ListAction::FocusLost);
  EXPECT_EQ(ApplyListKey(current, items, ' ', kListBlank), ListAction::Speak);
  EXPECT_EQ(ApplyListKey(current, items, 0, 75), ListAction::Speak);  // Left
  EXPECT_EQ(current, 2);
}

TEST(ListKeys, SearchByFirstCharacter) {
  ScoreTable table = DefaultScores();
  std::vector<ListItem> items;
  for (const auto& row : table.rows)
    items.push_back({static_cast<int>(items.size()) + 1, "", ScoreItemText(row)});
  int current = 1;
  ApplyListKey(current, items, 'e', kListBlank);
  EXPECT_EQ(current, 2);
  ApplyListKey(current, items, 'E', kListBlank);
  EXPECT_EQ(current, 4);  // no later item: past the end
  ApplyListKey(current, items, 'c', kListBlank);
  EXPECT_EQ(current, 1);  // past the end searches from the first item

  auto spaced = Items({"  zeta", "alfa", "\xE9" "clair", "2 dois"});
  current = 1;
  ApplyListKey(current, spaced, '2', kListBlank);
  EXPECT_EQ(current, 4);
  current = 4;
  ApplyListKey(current, spaced, 'Z', kListBlank);  // no wrap
  EXPECT_EQ(current, 5);
  current = 0;
  ApplyListKey(current, spaced, 'z', kListBlank);  // leading blanks ignored
  EXPECT_EQ(current, 1);
  EXPECT_EQ(SearchItems(0, spaced, 0xC9), 3);  // upper-cased accented letter
}

TEST(ListKeys, EmptyList) {
  std::vector<ListItem> none;
  int current = 1;
  ApplyListKey(current, none, ' ', kListBlank);
  EXPECT_EQ(current, 1);  // count + 1: not an item
  ApplyListKey(current, none, 0, kUp);
  EXPECT_EQ(current, 0);
}

TEST(ListGeometry, BoxFitsTheScreen) {
  int column = 40, row = 10;
  FitListBox(column, row, 50, 3, 25);
  EXPECT_EQ(column, 30);
  EXPECT_EQ(row, 10);
  column = 5;
  row = 24;
  FitListBox(column, row, 50, 10, 25);
  EXPECT_EQ(row, 16);
  row = 5;
  FitListBox(column, row, 50, 40, 25);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(ScrolledFirst(3, 1, 20, 25), 1);
  EXPECT_EQ(ScrolledFirst(8, 1, 20, 25), 3);
  EXPECT_EQ(ScrolledFirst(2, 3, 20, 25), 2);
}
