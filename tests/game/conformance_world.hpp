// A private data tree for one game and the helpers that read what the game did.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "testkit/testkit.hpp"

namespace conformance {

// Three levels used unless a test writes its own file.
extern const char* const kLevels;

class World {
 public:
  // levels: content of qorbel/lunardif.ini (UTF-8, written as Windows-1252); empty: no file.
  explicit World(const std::string& levels = kLevels);
  std::string Root() const { return dir_.path(); }
  // The program's current folder, where it writes luplacar.ini.
  std::string Work() const { return dir_.path() + "/work"; }
  // A text file below the root, UTF-8 given, Windows-1252 written.
  void WriteText(const std::string& relative, const std::string& utf8) const;
  // A silent recording in the game folder (0.1 s unless told).
  void Record(const std::string& key, int samples = 1103) const;
  // The written score file (UTF-8), or "" when missing.
  std::string ScoreFile() const;
  testkit::RunResult Play(const std::string& keys, const std::string& seed = "7") const;

 private:
  testkit::TempDir dir_;
};

// One event of the transcript reduced to what a player sees and hears. Consecutive writes are
// joined (how the text is cut into write calls is not the game's promise); recordings of the
// letters folder (the voice's own business) and synthesizer internals are left out.
struct Item {
  std::string kind;  // OUT, SPEAK, PLAY (game folder file name), EFFECT (file name), EXIT
  std::string text;
  bool operator==(const Item&) const = default;
};
std::string Show(const Item& item);
inline void PrintTo(const Item& item, std::ostream* os) { *os << Show(item); }

// Builds the item list of raw items (joins consecutive OUTs).
std::vector<Item> Merge(const std::vector<Item>& raw);
// The items of events [from, end).
std::vector<Item> Stream(const testkit::RunResult& r, size_t from = 0);

// Index of the event after the echo of the Enter that ends the n-th flight briefing (0-based n),
// or npos.
size_t FlightStart(const testkit::RunResult& r, int n = 0);

// First difference between expected and the start of actual, described; "" when expected is a
// prefix of actual.
std::string FirstDifference(const std::vector<Item>& expected, const std::vector<Item>& actual);

// Rows of the final screen: the row holding text (UTF-8), or -1.
int RowWith(const testkit::RunResult& r, const std::string& text);
// The attribute bytes of row from column col (0-based), count cells, as hex text.
std::string AttrRun(const testkit::RunResult& r, int row, size_t col, size_t count);

// n copies of an attribute cell ("4F").
std::string Cells(const std::string& cell, size_t n);

// Number of UTF-8 characters.
size_t Chars(const std::string& utf8);

}  // namespace conformance
