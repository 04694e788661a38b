// The opening questions, the level question, the difficulty file, another game and the
// farewell, played headless.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "conformance_model.hpp"
#include "conformance_world.hpp"

using namespace conformance;

namespace {

const std::string kTitle = "Alunisagem - um desafio para pilotos!";
const std::string kInstructions =
    "\r\n\r\nINSTRUÇÕES DO JOGO.\r\n\r\nO objetivo do jogo é aterrisar um foguete na superfície "
    "da Lua, \r\nno menor tempo e gastando o mínimo de combustível.\r\n\r\nO foguete tem "
    "inicialmente velocidade zero e será puxado para baixo\r\npela força da gravidade lunar. "
    "Você usará os foguetes propulsores\r\npara desacelerar esta queda, informando para isso, a "
    "quantidade\r\ndesejada de combustível a aplicar usando as teclas numéricas de zero\r\na "
    "nove. Pressionando ENTER você será informado de sua altura.\r\nPressionando a barra de "
    "espaço você obterá todas as suas informações,\r\ncomo tempo, altura, velocidade e "
    "combustível restante.\r\nVocê será informado regularmente da sua altitude.\r\n\r\nTente "
    "pousar com suavidade, caso contrário o foguete explode.";

int Find(const std::vector<Item>& items, const Item& item, size_t from = 0) {
  for (size_t i = from; i < items.size(); ++i)
    if (items[i] == item) return static_cast<int>(i);
  return -1;
}

int Count(const std::vector<Item>& items, const Item& item) {
  int n = 0;
  for (const auto& i : items) n += i == item;
  return n;
}

// A key script line delivering key ms after the delivery before it.
std::string Timed(long long ms, const char* key) {
  char line[64];
  std::snprintf(line, sizeof line, "+%lld %s\n", ms, key);
  return line;
}

// The path of the first recording played whose name holds key.
std::string FirstPlayOf(const testkit::RunResult& r, const std::string& key) {
  for (const auto& e : r.Named("PLAY"))
    if (e.data.find(key) != std::string::npos) return e.data;
  return "";
}

// The items from the level question's echo on, for a flight of the default levels.
std::vector<Item> AfterLevelQuestion(const testkit::RunResult& r) {
  auto items = Stream(r);
  int at = Find(items, {"SPEAK", "Digite a sua opção de dificuldade de 1 a 3: "});
  if (at < 0) return {};
  return std::vector<Item>(items.begin() + at + 1, items.end());
}

}  // namespace

TEST(AcceptanceOpening, InstructionsOnlyOnSAndLowerCaseNDeclinesTheGame) {
  World world;
  auto r = world.Play("s\nEnter\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  std::vector<Item> expected = {
      {"OUT", kTitle + "\r\n"}, {"SPEAK", kTitle}, {"OUT", "\r\n"},
      {"PLAY", "FOGUETE.wav"}, {"PLAY", "LUCHIME.wav"},
      {"OUT", "Benvindo ao jogo de Alunisagem!\r\n\r\n"},
      {"SPEAK", "Benvindo ao jogo de Alunisagem!"},
      {"OUT", "Deseja instruções? "}, {"SPEAK", "Deseja instruções? "},
      {"OUT", "s\r\n" + kInstructions + "\r\n\r\n"}, {"SPEAK", kInstructions},
      {"PLAY", "LUCHIME.wav"},
      {"OUT", "Quer conhecer os ases pilotos? "}, {"SPEAK", "Quer conhecer os ases pilotos? "},
      // Enter is not echoed; it declines the table.
      {"OUT", "\r\n"}, {"PLAY", "LUCHIME.wav"},
      {"OUT", "Começar jogo? "}, {"SPEAK", "Começar jogo? "},
      {"OUT", "n\r\nTchau...\r\n"}, {"SPEAK", "Tchau..."}, {"EXIT", "0"}};
  EXPECT_EQ(FirstDifference(expected, Stream(r)), "");
  EXPECT_EQ(Stream(r).size(), expected.size());
  // Nothing was played, so the score file was not written.
  EXPECT_EQ(world.ScoreFile(), "");
  // Without the instructions the title stays on screen: written on blue at the top.
  r = world.Play("n\nn\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.screen[0].substr(0, kTitle.size()), kTitle);
  EXPECT_EQ(AttrRun(r, 0, 0, kTitle.size()), Cells("1F", kTitle.size()));
  EXPECT_EQ(AttrRun(r, 2, 0, 1), "0F");
}

TEST(AcceptanceOpening, TableOnLowerCaseSOtherKeysDeclineInstructions) {
  World world;
  auto r = world.Play("x\ns\nDown\nEsc\nN\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto items = Stream(r);
  EXPECT_EQ(Find(items, {"SPEAK", kInstructions}), -1);
  int header = Find(items, {"SPEAK", "Use as setas para conhecer os ases pilotos e sua pontuação"});
  ASSERT_GE(header, 1);
  EXPECT_TRUE(items[header - 1].text.ends_with(
      "s\r\n\r\nUse as setas para conhecer os ases pilotos e sua pontuação\r\n"))
      << items[header - 1].text;
  // The list speaks the first pilot, then the second after Down; Esc leaves.
  std::vector<std::string> spoken;
  for (size_t i = header + 1; i < items.size(); ++i)
    if (items[i].kind == "SPEAK") spoken.push_back(items[i].text);
  ASSERT_GE(spoken.size(), 3u);
  EXPECT_EQ(spoken[0], "Caio Martelo" + std::string(28, ' ') + " 3130");
  EXPECT_EQ(spoken[1], "Ernesto Brandi" + std::string(26, ' ') + " 1725");
  EXPECT_EQ(spoken[2], "Começar jogo? ");
  EXPECT_EQ(items.back(), (Item{"EXIT", "0"}));
  // The list's rows are restored: no pilot stays on the screen and the rows are plain again.
  EXPECT_EQ(RowWith(r, "Caio Martelo"), -1);
  EXPECT_EQ(RowWith(r, "Ernesto Brandi"), -1);
  int question = RowWith(r, "Começar jogo? N");
  ASSERT_GE(question, 1);
  EXPECT_EQ(r.screen[question - 1].find_first_not_of(' '), std::string::npos);
  EXPECT_EQ(AttrRun(r, question - 1, 0, 80), Cells("0F", 80));
  for (int row = question + 1; row < 25; ++row)
    EXPECT_EQ(AttrRun(r, row, 0, 80), Cells("0F", 80)) << row;
}

TEST(AcceptanceOpening, AnotherGameLevelsPerFlightTitleWrittenOnlyAndFarewell) {
  World world("1000\n200\n30\n5\n*\n1500\n150\n20\n4\n*\n12\n60\n15\n3\n");
  // "y" starts a game (anything but N); Enter asks for another; the level is asked each time.
  // The second flight explodes at 7 m/s, scored by the 2000-point rule: Esc at the name.
  auto r = world.Play("n\nn\ny\n1\nEnter\nEsc\nEnter\n3\nEnter\nEsc\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto items = Stream(r);
  EXPECT_EQ(Count(items, {"SPEAK", kTitle}), 1);
  EXPECT_EQ(Count(items, {"SPEAK", "Digite a sua opção de dificuldade de 1 a 3: "}), 2);
  EXPECT_EQ(Count(items, {"SPEAK", "Quer jogar de novo? "}), 2);
  EXPECT_GE(Find(items, {"SPEAK", "1000 metros"}), 0);
  EXPECT_GE(Find(items, {"SPEAK", "12 metros"}), 0);
  // Before each flight the title is written without being spoken, then two line ends.
  int second = Find(items, {"SPEAK", "Quer jogar de novo? "});
  ASSERT_GE(second, 0);
  EXPECT_EQ(items[second + 1], (Item{"OUT", "\r\n" + kTitle + "\r\n\r\nDigite a sua opção de "
                                               "dificuldade de 1 a 3: "}));
  // The end: the sigh, the two goodbyes and exit code 0.
  std::vector<Item> ending = {{"OUT", "n\r\n"}, {"PLAY", "UUUM2.wav"},
                              {"OUT", "Gostei de jogar com você!\r\n"},
                              {"SPEAK", "Gostei de jogar com você!"},
                              {"OUT", "Tchau...\r\n"}, {"SPEAK", "Tchau..."}, {"EXIT", "0"}};
  ASSERT_GE(items.size(), ending.size());
  std::vector<Item> tail(items.end() - ending.size(), items.end());
  EXPECT_EQ(FirstDifference(ending, tail), "");
  // The score file after the flights.
  Carry carry;
  Flight first = Fly({1, 1000, 200, 30, 5}, {}, carry);
  Flight last = Fly({3, 12, 60, 15, 3}, {}, carry);
  EXPECT_EQ(first.score, 0);
  EXPECT_EQ(world.ScoreFile(), "Caio Martelo\r\n3130\r\nErnesto Brandi\r\n1725\r\n<sem nome>\r\n" +
                                   std::to_string(last.score) + "\r\nNô Vá\r\n531\r\n");
}

TEST(AcceptanceOpening, LevelQuestionRepeatsUntilOneToThree) {
  World world;
  auto r = world.Play("n\nn\nEnter\n4\nx\n0\n2\nEnter\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const std::string question = "Digite a sua opção de dificuldade de 1 a 3: ";
  auto items = AfterLevelQuestion(r);
  std::vector<Item> expected = {
      {"OUT", "4\r\n" + question}, {"SPEAK", question}, {"OUT", "x\r\n" + question},
      {"SPEAK", question}, {"OUT", "0\r\n" + question}, {"SPEAK", question},
      {"OUT", "2\r\n\r\n"}, {"PLAY", "FOGUETE.wav"}};
  EXPECT_EQ(FirstDifference(expected, items), "");
  EXPECT_GE(Find(items, {"SPEAK", "1500 metros"}), 0);
  EXPECT_GE(Find(items, {"SPEAK", "150 litros"}), 0);
}

TEST(AcceptanceDifficulty, SeparatorsCommentsBlanksAndTheLevelSections) {
  // Blanks, tabs and empty lines before a number are skipped, words after it ignored; a line
  // " *" is not a separator, "*" is.
  World world(" \t\n\n  1200 metros de altura\n90 litros\n\t30\n5 m/s\n *\n*\n"
              "-7 negativo\n+80\n20\n4\n");
  // The second level starts below the surface: no turn at all, and the rocket "lands" at rest
  // after 1 s, which the table takes (Esc at the name).
  auto r = world.Play("n\nn\nEnter\n1\nEnter\nEsc\nEnter\n2\nEnter\nEsc\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  Carry carry;
  Flight first = Fly({1, 1200, 90, 30, 5}, KeysOfFlight(r, FlightStart(r, 0)), carry);
  EXPECT_EQ(FirstDifference(first.items, Stream(r, FlightStart(r, 0))), "");
  Flight second = Fly({2, -7, 80, 20, 4}, {}, carry);
  EXPECT_EQ(second.turns, 0);
  EXPECT_EQ(second.score, 1996);
  EXPECT_EQ(FirstDifference(second.items, Stream(r, FlightStart(r, 1))), "");
  auto items = Stream(r);
  EXPECT_GE(Find(items, {"SPEAK", "1200 metros"}), 0);
  EXPECT_GE(Find(items, {"SPEAK", "90 litros"}), 0);
  EXPECT_GE(Find(items, {"SPEAK", "-7 metros"}), 0);
  EXPECT_GE(Find(items, {"SPEAK", "80 litros"}), 0);
  EXPECT_EQ(Find(items, {"SPEAK", "Erro no arquivo de configuração!"}), -1);
}

TEST(AcceptanceDifficulty, MissingFileReportsAndFliesWithZeroSettings) {
  World world("");
  // The zero flight ends after one step at 0.2 m/s: above the zero landing limit, an explosion,
  // scored by the 2000-point rule, so the pilot enters the table.
  auto r = world.Play("n\nn\nEnter\n1\nEnter\n\"Zé\"\nEnter\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto items = AfterLevelQuestion(r);
  std::vector<Item> expected = {{"OUT", "1\r\n\r\nErro no arquivo de configuração!\r\n"},
                                {"SPEAK", "Erro no arquivo de configuração!"}};
  auto briefing = Merge(Briefing({1, 0, 0, 0, 0}));
  expected.insert(expected.end(), briefing.begin(), briefing.end());
  EXPECT_EQ(FirstDifference(expected, items), "");
  Carry carry;
  size_t start = FlightStart(r);
  ASSERT_NE(start, std::string::npos);
  Flight f = Fly({1, 0, 0, 0, 0}, KeysOfFlight(r, start), carry);
  EXPECT_EQ(FirstDifference(f.items, Stream(r, start)), "");
  EXPECT_EQ(f.turns, 1);
  EXPECT_EQ(f.score, 1970);
  EXPECT_EQ(world.ScoreFile(), "Caio Martelo\r\n3130\r\nZé\r\n1970\r\nErnesto Brandi\r\n1725\r\n"
                               "Nô Vá\r\n531\r\n");
}

TEST(AcceptanceDifficulty, MalformedOrMissingSectionIsLikeAMissingFile) {
  for (const std::string& levels :
       {std::string("1000\n200\n30\n5\n"),           // level 2 asked, no separator
        std::string("1000\n200\n30\n5\n*\nmil\n200\n30\n5\n"),  // not a number
        std::string("1000\n200\n30\n5\n*\n1500\n150\n")}) {      // numbers missing
    World world(levels);
    auto r = world.Play("n\nn\nEnter\n2\nEnter\n\"Zé\"\nEnter\nEsc\nn\n");
    ASSERT_EQ(r.exitCode, 0) << levels << r.stderrText;
    auto items = AfterLevelQuestion(r);
    ASSERT_FALSE(items.empty()) << levels;
    EXPECT_EQ(items[0], (Item{"OUT", "2\r\n\r\nErro no arquivo de configuração!\r\n"})) << levels;
    EXPECT_GE(Find(items, {"SPEAK", "0 metros"}), 0) << levels;
  }
}

TEST(AcceptanceOpening, RecordingsReplaceTheVoiceTextStaysWritten) {
  World world("10\n20\n30\n5\n");
  for (const char* key : {"LUINIC", "LUDESINS", "LUOLA", "LUNVEXPL", "LUTCHAU"}) world.Record(key);
  // The 10 m fall explodes and enters the table: Esc at the name, Esc in the table.
  auto r = world.Play("n\nn\nEnter\n1\nEnter\nEsc\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto items = Stream(r);
  std::vector<Item> start = {{"OUT", kTitle + "\r\n"}, {"PLAY", "LUINIC.wav"}, {"OUT", "\r\n"}};
  EXPECT_EQ(FirstDifference(start, items), "");
  EXPECT_GE(Find(items, {"OUT", "Deseja instruções? "}), 0);
  EXPECT_GE(Find(items, {"PLAY", "LUDESINS.wav"}), 0);
  EXPECT_GE(Find(items, {"PLAY", "LUOLA.wav"}), 0);
  EXPECT_GE(Find(items, {"PLAY", "LUTCHAU.wav"}), 0);
  for (const std::string& text : {kTitle, std::string("Deseja instruções? "), Text("LUOLA"),
                                  Text("LUNVEXPL"), std::string("Tchau...")})
    EXPECT_EQ(Find(items, {"SPEAK", text}), -1) << text;
  // The title before the flight is written only, even with its recording.
  EXPECT_EQ(Count(items, {"PLAY", "LUINIC.wav"}), 1);
  int explosion = Find(items, {"PLAY", "LUNVEXPL.wav"});
  ASSERT_GE(explosion, 2);
  EXPECT_EQ(items[explosion - 1], (Item{"OUT", "\r\nA nave explodiu!"}));
  EXPECT_EQ(items[explosion - 2], (Item{"PLAY", "EXPLODE.wav"}));
}

TEST(AcceptanceOpening, SettingsNameTheSoundFolderLevelsAndTableFiles) {
  World world("");
  world.WriteText("windows/TELUMA.INI",
                  "[TRADUTOR]\nVELOCIDADE=3\nSAPI=N\nDIRLETRAS=c:\\qorbel\\som\\letras\\\n"
                  "DIRDIFONES=c:\\qorbel\\som\\difones\n[SINTETIZADOR]\nDIFONES3=DIFONES3\n"
                  "[MOONDROP]\nDIRMOONDROP=c:\\jogo\\sons\nARQDIF=c:\\outro\\niveis.txt\n"
                  "ARQPLACAR=c:\\outro\\recordes.txt\n");
  world.WriteText("outro/niveis.txt", "77\n20\n30\n5\n");
  world.WriteText("outro/recordes.txt", "Lia\n2500\n");
  auto r = world.Play("n\ns\nEsc\nEnter\n1\nEnter\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto items = Stream(r);
  EXPECT_EQ(FirstPlayOf(r, "FOGUETE"), "c:\\jogo\\sons\\FOGUETE.wav");
  bool effect = false;
  for (const auto& e : r.Named("EFFECT")) effect |= e.data == "c:\\jogo\\sons\\ping2.wav";
  EXPECT_TRUE(effect);
  EXPECT_GE(Find(items, {"SPEAK", "77 metros"}), 0);
  EXPECT_GE(Find(items, {"SPEAK", "Lia" + std::string(37, ' ') + " 2500"}), 0);
  // Written where the program runs, not over the file it read.
  EXPECT_EQ(world.ScoreFile(), "Lia\r\n2500\r\n");
  EXPECT_EQ(testkit::ReadFile(world.Root() + "/outro/recordes.txt"), "Lia\r\n2500\r\n");
}

TEST(AcceptanceOpening, DefaultFoldersWhenTheSettingsAreEmpty) {
  World world("10\n20\n30\n5\n");
  world.WriteText("windows/TELUMA.INI",
                  "[TRADUTOR]\nVELOCIDADE=3\nSAPI=N\nDIRLETRAS=c:\\qorbel\\som\\letras\\\n"
                  "DIRDIFONES=c:\\qorbel\\som\\difones\n[SINTETIZADOR]\nDIFONES3=DIFONES3\n"
                  "[MOONDROP]\nDIRMOONDROP=\n");
  auto r = world.Play("n\nn\nEnter\n1\nEnter\nEsc\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  // Phrases from the start-up default (no drive), effects from the effect default (drive c:).
  EXPECT_EQ(FirstPlayOf(r, "FOGUETE"), "\\qorbel\\som\\moondrop\\FOGUETE.wav");
  auto effects = r.Named("EFFECT");
  ASSERT_FALSE(effects.empty());
  EXPECT_EQ(effects[0].data, "c:\\qorbel\\som\\moondrop\\ping2.wav");
  EXPECT_GE(Find(Stream(r), {"SPEAK", "10 metros"}), 0);
}

TEST(AcceptanceOpening, TimeKeyAndExtendedKeysAtTheQuestions) {
  World world("10\n20\n30\n5\n");
  // F8 says the time and the question keeps waiting; an extended key answers with code 0,
  // which declines the instructions but starts a game.
  auto r = world.Play("F8\nn\nF2\nF2\n1\nEnter\nEsc\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto items = Stream(r);
  EXPECT_EQ(Find(items, {"SPEAK", kInstructions}), -1);
  EXPECT_EQ(Count(items, {"SPEAK", "Deseja instruções? "}), 1);
  // No table at the opening: the first one follows the flight.
  int flight = Find(items, {"SPEAK", "10 metros"});
  EXPECT_GE(flight, 0);
  EXPECT_GT(Find(items, {"SPEAK", "Use as setas para conhecer os ases pilotos e sua pontuação"}),
            flight);
  // Nothing is echoed for the extended keys: the questions end with a bare line end.
  int table = Find(items, {"SPEAK", "Quer conhecer os ases pilotos? "});
  ASSERT_GE(table, 0);
  EXPECT_EQ(items[table + 1], (Item{"OUT", "\r\n"}));
}

TEST(AcceptanceDifficulty, ShippedLevelsAreReadAsThreeLevels) {
  std::string shipped = testkit::ReadFile(testkit::SourceDir() + "/data/lunardif.ini");
  World world(shipped);
  auto r = world.Play("n\nn\nEnter\n1\nEnter\nEsc\nEnter\n2\nEnter\nEsc\nEnter\n3\nEnter\nEsc\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto items = Stream(r);
  EXPECT_EQ(Find(items, {"SPEAK", "Erro no arquivo de configuração!"}), -1);
  int a = Find(items, {"SPEAK", "1000 metros"});
  int b = Find(items, {"SPEAK", "1500 metros"});
  int c = Find(items, {"SPEAK", "2000 metros"});
  EXPECT_GE(a, 0);
  EXPECT_GT(b, a);
  EXPECT_GT(c, b);
  EXPECT_GE(Find(items, {"SPEAK", "200 litros"}), 0);
  EXPECT_GE(Find(items, {"SPEAK", "150 litros"}), 0);
  EXPECT_GE(Find(items, {"SPEAK", "120 litros"}), 0);
}

TEST(AcceptanceOpening, KeysTypedBeforeAQuestionAreDroppedAndCutOnlyUnlockedRecordings) {
  {
    // A key typed during the title does not answer the first question.
    World world;
    auto r = world.Play("+100 s\nn\nn\nn\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_EQ(Find(Stream(r), {"SPEAK", kInstructions}), -1);
    EXPECT_GE(Find(Stream(r), {"OUT", "n\r\n"}), 0);
  }
  // One-second recordings of two questions. A key 0.3 s into the first (asked in the greeting,
  // key interruption off) lets it play to its end; in the second it cuts it short.
  World world;
  world.Record("LUDESINS", 11025);
  world.Record("LUCONHEC", 11025);
  // When the recording of key starts, and when the first key after it is read.
  auto start = [](const testkit::RunResult& r, const std::string& key) -> long long {
    for (const auto& e : r.Named("PLAY"))
      if (e.data.find(key) != std::string::npos) return e.ms;
    return -1;
  };
  auto answered = [](const testkit::RunResult& r, const std::string& key) -> long long {
    bool played = false;
    for (const auto& e : r.events) {
      played |= e.name == "PLAY" && e.data.find(key) != std::string::npos;
      if (played && e.name == "KEY") return e.ms;
    }
    return -1;
  };
  auto dry = world.Play("n\nn\nn\n");
  long long first = start(dry, "LUDESINS");
  ASSERT_GE(first, 0);
  auto r = world.Play(Timed(first + 300, "n") + "n\nn\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(start(r, "LUDESINS"), first);
  EXPECT_EQ(answered(r, "LUDESINS"), first + 1000);

  long long second = start(r, "LUCONHEC");
  ASSERT_GE(second, 0);
  // Timed keys count from the delivery before them.
  auto cut = world.Play(Timed(first + 300, "n") + Timed(second - first, "n") + "n\n");
  ASSERT_EQ(cut.exitCode, 0) << cut.stderrText;
  EXPECT_EQ(start(cut, "LUCONHEC"), second);
  EXPECT_EQ(answered(cut, "LUCONHEC"), second + 300);
}
