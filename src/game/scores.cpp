// The table of the best pilots as the player meets it.
#include "console/TlCrt.hpp"
#include "game/files.hpp"
#include "game/messages.hpp"
#include "game/scores.hpp"
#include "game/selection_list.hpp"
#include "platform/paths.hpp"
#include "speech/lineedit.hpp"
#include "speech/tlwin.hpp"

namespace {
constexpr uint8_t kListColour = 4;
constexpr int kListWidth = 50;
constexpr int kShownScore = 3500;  // above it the fireworks, else the applause

struct ScoreFileState {
  bool unreadable = false;   // the table file exists but could not be read: it is never written
  bool failureSaid = false;  // the last save failed and the player was told
};

ScoreFileState& FileState() {
  static ScoreFileState state;
  return state;
}

// A bad file is reported once, however many of its entries are broken.
void ReportBrokenEntries(int count) {
  SayMessage("LUERRARQ", 1);
  SayMessage("LUPLAINV", 0);
  SpeakWriteLn(std::to_string(count));
}
}  // namespace

void SortScores() { SortScores(CurrentScores()); }

void LoadScores() {
  std::string path = ReadSuiteSetting("MOONDROP", "ARQPLACAR");
  if (path.empty()) path = "c:\\qorbel\\luplacar.ini";
  std::string text;
  ScoreTable& table = CurrentScores();
  switch (ReadWholeFile(platform::MapPath(path), text)) {
    case FileRead::kRead:
      if (int broken = ParseScores(text, table); broken > 0) ReportBrokenEntries(broken);
      break;
    case FileRead::kMissing:
      table = DefaultScores();
      break;
    case FileRead::kUnreadable:
      // Its pilots are unknown, so no table may replace them: this run's table stays in memory.
      table = ScoreTable{};
      FileState().unreadable = true;
      SayMessage("LUPLALER", 1);
      break;
  }
  SortScores(table);
}

void SaveScores() {
  // The table is written beside the program's current folder; a failure leaves the old file
  // whole and the game goes on.
  ScoreFileState& state = FileState();
  if (state.unreadable) return;
  bool saved = ReplaceFile("luplacar.ini", FormatScores(CurrentScores()));
  if (!saved && !state.failureSaid) SayMessage("LUPLAGRV", 1);
  state.failureSaid = !saved;
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
