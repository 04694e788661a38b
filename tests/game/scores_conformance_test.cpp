// The table of the best pilots: entering it, the thresholds, names, the file, browsing it with
// the selection list and the screen the list leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "conformance_model.hpp"
#include "conformance_world.hpp"

using namespace conformance;

namespace {

const char* kOpening = "n\nn\nEnter\n";
const std::string kDefaultTable =
    "Caio Martelo\r\n3130\r\nErnesto Brandi\r\n1725\r\nNô Vá\r\n531\r\n";

int Find(const std::vector<Item>& items, const Item& item, size_t from = 0) {
  for (size_t i = from; i < items.size(); ++i)
    if (items[i] == item) return static_cast<int>(i);
  return -1;
}

// The list item text of a pilot: the name padded and cut to 40, a blank, the score.
std::string Entry(const std::string& name, int score) {
  std::string padded = name;
  while (Chars(padded) < 40) padded += ' ';
  return padded + " " + std::to_string(score);
}

// What is spoken from the table's header on (the list and what follows).
std::vector<std::string> SpokenAfterHeader(const testkit::RunResult& r) {
  auto items = Stream(r);
  int header = Find(items, {"SPEAK", "Use as setas para conhecer os ases pilotos e sua pontuação"});
  std::vector<std::string> spoken;
  if (header < 0) return spoken;
  for (size_t i = header + 1; i < items.size(); ++i)
    if (items[i].kind == "SPEAK") spoken.push_back(items[i].text);
  return spoken;
}

// A flight of 12 m on a level whose landing limit is 3 m/s: it explodes at about 7 m/s and
// scores some 1100 points by the 2000-point rule, without any key.
const Level kShortFall{1, 12, 60, 15, 3};
const char* kShortFallLevels = "12\n60\n15\n3\n";

int ShortFallScore() {
  Carry carry;
  return Fly(kShortFall, {}, carry).score;
}

// A table file of ten pilots whose lowest score is `lowest`.
std::string FullTable(int lowest) {
  std::string text;
  for (int i = 0; i < 10; ++i)
    text += "Piloto " + std::to_string(i + 1) + "\n" + std::to_string(lowest + 100 * (9 - i)) + "\n";
  return text;
}

}  // namespace

TEST(AcceptanceScores, AboveThirtyFiveHundredFireworksNameAndSortedFile) {
  // 35 m, 2 litres in the second turn, landing limit 13 m/s: 3501 points.
  World world("35\n50\n30\n13\n");
  auto r = world.Play(std::string(kOpening) + "1\nEnter\n+50 2\n\"Ana Maria\"\nEnter\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  size_t start = FlightStart(r);
  ASSERT_NE(start, std::string::npos);
  ASSERT_EQ(KeysOfFlight(r, start), (KeysByTurn{{2, {'2'}}})) << "the key missed turn 2";
  Carry carry;
  Flight f = Fly({1, 35, 50, 30, 13}, {{2, {'2'}}}, carry);
  ASSERT_EQ(f.score, 3501);
  auto items = Stream(r, start);
  EXPECT_EQ(FirstDifference(f.items, items), "");
  std::vector<Item> entering = {
      {"OUT", "\r\n\r\n"}, {"PLAY", "FOGOS.wav"},
      {"OUT", "Parabéns, você entrará para o quadro de ases pilotos!!!\r\n"},
      {"SPEAK", "Parabéns, você entrará para o quadro de ases pilotos!!!"},
      {"OUT", "Digite seu nome:\r\n"}, {"SPEAK", "Digite seu nome:"}};
  std::vector<Item> after(items.begin() + f.items.size(), items.end());
  EXPECT_EQ(FirstDifference(entering, after), "");
  EXPECT_EQ(world.ScoreFile(), "Ana Maria\r\n3501\r\n" + kDefaultTable);
  auto spoken = SpokenAfterHeader(r);
  ASSERT_FALSE(spoken.empty());
  EXPECT_EQ(spoken[0], Entry("Ana Maria", 3501));
  // The landing was announced on blue.
  int row = RowWith(r, "Muito bem, a nave pousou!");
  ASSERT_GE(row, 0);
  EXPECT_EQ(AttrRun(r, row, 0, 26), Cells("1F", 25) + "0F");
}

TEST(AcceptanceScores, TwoHundredDoesNotEnterAndTheFileIsWrittenAnyway) {
  // 335 m, 8 litres in the first turn and 3 in the second, limit 41 m/s: exactly 200 points.
  World world("335\n50\n30\n41\n");
  auto r = world.Play(std::string(kOpening) + "1\nEnter\n+0 8\n+50 3\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  size_t start = FlightStart(r);
  ASSERT_NE(start, std::string::npos);
  ASSERT_EQ(KeysOfFlight(r, start), (KeysByTurn{{1, {'8'}}, {2, {'3'}}}));
  Carry carry;
  Flight f = Fly({1, 335, 50, 30, 41}, {{1, {'8'}}, {2, {'3'}}}, carry);
  ASSERT_EQ(f.score, 200);
  auto items = Stream(r, start);
  EXPECT_EQ(FirstDifference(f.items, items), "");
  ASSERT_GT(items.size(), f.items.size());
  // Straight on to the table: no sound, no congratulations, no name.
  EXPECT_EQ(items[f.items.size()],
            (Item{"OUT", "\r\n\r\nUse as setas para conhecer os ases pilotos e sua pontuação\r\n"}));
  EXPECT_EQ(world.ScoreFile(), kDefaultTable);
}

TEST(AcceptanceScores, FullTableEqualScoreStaysOutOneMoreEntersWithApplauseAndNoName) {
  int s = ShortFallScore();
  ASSERT_GT(s, 200);
  ASSERT_LE(s, 3500);
  {
    World world(kShortFallLevels);
    world.WriteText("qorbel/luplacar.ini", FullTable(s));
    auto r = world.Play(std::string(kOpening) + "1\nEnter\nEsc\nn\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto items = Stream(r);
    EXPECT_EQ(Find(items, {"SPEAK", "Parabéns, você entrará para o quadro de ases pilotos!!!"}), -1);
    // Written to the current folder, in the table's order.
    std::string expected;
    for (int i = 0; i < 10; ++i)
      expected += "Piloto " + std::to_string(i + 1) + "\r\n" + std::to_string(s + 100 * (9 - i)) + "\r\n";
    EXPECT_EQ(world.ScoreFile(), expected);
  }
  {
    World world(kShortFallLevels);
    world.WriteText("qorbel/luplacar.ini", FullTable(s - 1));
    // Esc at the name: the pilot is entered without a name, the tenth row is dropped.
    auto r = world.Play(std::string(kOpening) + "1\nEnter\n\"Zé\"\nEsc\nEsc\nn\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto items = Stream(r);
    int congratulations =
        Find(items, {"SPEAK", "Parabéns, você entrará para o quadro de ases pilotos!!!"});
    ASSERT_GE(congratulations, 2);
    EXPECT_EQ(items[congratulations - 2], (Item{"PLAY", "APLAUSOS.wav"}));
    std::string expected;
    for (int i = 0; i < 9; ++i)
      expected += "Piloto " + std::to_string(i + 1) + "\r\n" + std::to_string(s - 1 + 100 * (9 - i)) + "\r\n";
    expected += "<sem nome>\r\n" + std::to_string(s) + "\r\n";
    EXPECT_EQ(world.ScoreFile(), expected);
    // The typed name was blanked on the screen by Esc.
    EXPECT_EQ(RowWith(r, "Zé"), -1);
  }
}

TEST(AcceptanceScores, EqualScoreGoesBelowLongNameCutInTheListWholeInTheFile) {
  int s = ShortFallScore();
  World world(kShortFallLevels);
  // An unsorted file: it is sorted when loaded.
  world.WriteText("qorbel/luplacar.ini", "Baixo\n300\nIgual\n" + std::to_string(s) + "\nAlto\n3000\n");
  const std::string name = "Maria das Dores Albuquerque de Souza Ferreira";  // 45 characters
  ASSERT_EQ(Chars(name), 45u);
  auto r = world.Play(std::string(kOpening) + "1\nEnter\n\"" + name + "\"\nEnter\nDown\nDown\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(world.ScoreFile(), "Alto\r\n3000\r\nIgual\r\n" + std::to_string(s) + "\r\n" + name +
                                   "\r\n" + std::to_string(s) + "\r\nBaixo\r\n300\r\n");
  auto spoken = SpokenAfterHeader(r);
  ASSERT_GE(spoken.size(), 3u);
  EXPECT_EQ(spoken[0], Entry("Alto", 3000));
  EXPECT_EQ(spoken[1], Entry("Igual", s));
  EXPECT_EQ(spoken[2], "Maria das Dores Albuquerque de Souza Fer " + std::to_string(s));
}

TEST(AcceptanceScores, BrowsingTheTableWithTheListKeys) {
  World world;
  world.WriteText("qorbel/luplacar.ini",
                  "Um\n500\nDois\n400\nTres\n300\nQuatro\n200\nCinco\n100\n");
  // Down x2, End, Up (item 4), PgUp (beep), Home, PgDn (beep), Up (item 5), 'd' jumps to Dois
  // from the top after Home, 'D' again finds nothing (beep), Left repeats nothing-past-end...
  auto r = world.Play("n\ns\nDown\nDown\nEnd\nUp\nPgUp\nHome\nPgDn\nUp\nHome\nd\nd\nUp\nEnter\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto spoken = SpokenAfterHeader(r);
  std::vector<std::string> expected = {
      Entry("Um", 500), Entry("Dois", 400), Entry("Tres", 300), Entry("Cinco", 100),
      Entry("Quatro", 200), Entry("Um", 500), Entry("Cinco", 100), Entry("Um", 500),
      Entry("Dois", 400), Entry("Cinco", 100), "Começar jogo? ", "Tchau..."};
  EXPECT_EQ(spoken, expected);
  // Three beeps: PgUp before the first item, PgDn past the last, the second search.
  int beeps = 0;
  for (const auto& e : r.Named("IMAGE")) beeps += e.data.rfind("512 ", 0) == 0;
  EXPECT_EQ(beeps, 3);
}

TEST(AcceptanceScores, RightSpellsTheItemAndLeftRepeatsIt) {
  World world;
  auto r = world.Play("n\ns\nRight\nLeft\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  std::vector<std::string> letters;
  bool after = false;
  for (const auto& e : r.events) {
    if (e.name == "KEY" && e.data == "77") after = true;
    if (e.name == "KEY" && e.data == "75") break;
    if (after && e.name == "PLAY") letters.push_back(e.data.substr(e.data.find_last_of('\\') + 1));
  }
  ASSERT_GE(letters.size(), 4u);
  EXPECT_EQ(letters[0], "_67.wav");
  EXPECT_EQ(letters[1], "_97.wav");
  EXPECT_EQ(letters[2], "_105.wav");
  EXPECT_EQ(letters[3], "_111.wav");
  auto spoken = SpokenAfterHeader(r);
  ASSERT_GE(spoken.size(), 2u);
  EXPECT_EQ(spoken[0], Entry("Caio Martelo", 3130));
  EXPECT_EQ(spoken[1], Entry("Caio Martelo", 3130));
}

TEST(AcceptanceScores, BadEntryReportedUnwritableFileLeavesTheGameRunning) {
  World world(kShortFallLevels);
  world.WriteText("qorbel/luplacar.ini", "Bom\n  900 pontos\nRuim\nnada\nOutro\n800\n");
  // The score file's place is taken by a folder: saving fails, the game goes on.
  std::filesystem::create_directories(world.Work() + "/luplacar.ini");
  auto r = world.Play(std::string(kOpening) + "1\nEnter\nEnter\nEsc\nEnter\n1\nEnter\nEsc\nEsc\nn\n");
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  auto items = Stream(r);
  int error = Find(items, {"SPEAK", "Erro no arquivo de configuração!"});
  int table = Find(items, {"SPEAK", "Quer conhecer os ases pilotos? "});
  EXPECT_GE(error, 0);
  EXPECT_LT(error, table);
  EXPECT_EQ(Find(items, {"SPEAK", "Erro no arquivo de configuração!"}, error + 1), -1);
  // Two flights were played and the farewell said.
  EXPECT_EQ(items.back(), (Item{"EXIT", "0"}));
  EXPECT_GE(Find(items, {"SPEAK", "Tchau..."}), 0);
  auto spoken = SpokenAfterHeader(r);
  ASSERT_FALSE(spoken.empty());
  EXPECT_EQ(spoken[0], Entry("<sem nome>", ShortFallScore()));
}

TEST(AcceptanceScores, ListBoxColoursWhileBrowsing) {
  World world;
  // The keys end inside the list: the program is closed with the box on the screen.
  auto r = world.Play("n\ns\nDown\n");
  int first = RowWith(r, Entry("Caio Martelo", 3130));
  ASSERT_GE(first, 0);
  EXPECT_EQ(r.screen[first].substr(0, 50), Entry("Caio Martelo", 3130) + "     ");
  EXPECT_EQ(AttrRun(r, first, 0, 51), Cells("4F", 50) + "0F");
  EXPECT_EQ(AttrRun(r, first + 1, 0, 51), Cells("4E", 50) + "0F");
  EXPECT_EQ(AttrRun(r, first + 2, 0, 51), Cells("4F", 50) + "0F");
  EXPECT_EQ(r.screen[first + 2].rfind("Nô Vá", 0), 0u);
}
