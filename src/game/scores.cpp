// The table of the best pilots as the player meets it.
#include "console/TlCrt.hpp"
#include "game/files.hpp"
#include "game/messages.hpp"
#include "game/scores.hpp"
#include "game/selection_list.hpp"
#include "platform/paths.hpp"
#include "speech/tlwin.hpp"

namespace {
constexpr uint8_t kListColour = 4;
constexpr int kListWidth = 50;
constexpr int kShownScore = 3500;  // above it the fireworks, else the applause
}  // namespace

void SortScores() { SortScores(CurrentScores()); }

void LoadScores() {
  std::string path = ReadSuiteSetting("MOONDROP", "ARQPLACAR");
  if (path.empty()) path = "c:\\qorbel\\luplacar.ini";
  std::string text;
  ScoreTable& table = CurrentScores();
  if (ReadTextFile(platform::MapPath(path), text)) {
    for (int failed = ParseScores(text, table); failed > 0; --failed) SayMessage("LUERRARQ", 1);
  } else {
    table = DefaultScores();
  }
  SortScores(table);
}

void SaveScores() {
  // The table is written beside the program's current folder; a failure leaves the old file
  // whole and the game goes on.
  ReplaceFile("luplacar.ini", FormatScores(CurrentScores()));
}

void RecordScore(int score) {
  ScoreTable& table = CurrentScores();
  int row = PlaceScore(table, score);
  if (row < 0) return;
  WriteLn();
  PlayPhrase(score > kShownScore ? "FOGOS" : "APLAUSOS");
  SayMessage("LUPARABE", 1);
  SayMessage("LULENOME", 1);
  std::string name = ReadLineSpoken();
  table.rows[row].name = name.empty() ? "<sem nome>" : name;
  SortScores(table);
  SaveScores();
}

void ShowScores() {
  const ScoreTable& table = CurrentScores();
  int count = static_cast<int>(table.rows.size());
  WriteLn();
  SayMessage("LUPNTMAX", 1);
  WriteLn();
  ReserveLines(count);
  ListOpen(CursorColumn(), CursorRow(), kListWidth, kListColour, count);
  for (const auto& row : table.rows) ListAdd("", ScoreItemText(row));
  ListRun();
  WriteLn();
}
