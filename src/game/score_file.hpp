// The table of the ten best pilots as data: parsing and writing the score file, sorting, and
// the place of a new score (no console, no speech).
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct ScoreEntry {
  std::string name;  // Windows-1252, any length
  int score = 0;
};

constexpr int kMaxScores = 10;
constexpr int kScoreThreshold = 200;  // a score must be above it to enter the table

struct ScoreTable {
  std::vector<ScoreEntry> rows;  // at most kMaxScores, highest first after SortScores
};

// The game's table for the whole run.
ScoreTable& CurrentScores();

ScoreTable DefaultScores();

// Exchange sort, highest first; rows of equal score are never swapped with each other directly.
void SortScores(ScoreTable& table);

// Reads the file's text (a name line, then a score line, per entry). Returns the number of
// entries whose score could not be read (they keep their name and score 0). Of a file with more
// than ten entries the ten best stay, the earlier of equal scores first; the work grows with the
// file's length only.
int ParseScores(std::string_view text, ScoreTable& table);

// The file's text: name and score lines, CR LF.
std::string FormatScores(const ScoreTable& table);

// The 0-based row a score takes (appended, or replacing the tenth), or -1 when it does not
// qualify. The row is filled with an empty name and the score.
int PlaceScore(ScoreTable& table, int score);

// The list text of an entry: the name cut or padded to 40 characters, a blank and the score.
std::string ScoreItemText(const ScoreEntry& entry);
