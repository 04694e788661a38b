// Whole games played headless through the automation contract.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/cp1252.hpp"
#include "testkit/speech_service.hpp"
#include "testkit/testkit.hpp"
#include "testkit/wave.hpp"

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

using testkit::DataFile;

namespace {

const char* kLevels =
    "1000 altura inicial\r\n200 combustivel\r\n30 maximo\r\n5 velocidade de pouso\r\n*\r\n"
    "1500\r\n150\r\n20\r\n4\r\n*\r\n2000\r\n120\r\n15\r\n3\r\n";

// A data tree of its own: the suite file, the difficulty file, the game folder (empty unless a
// test adds recordings, so messages are spoken as text) and links to the built voice data.
class Game {
 public:
  explicit Game(const std::string& levels = kLevels) {
    std::string ini = "[MOONDROP]\r\nDIRMOONDROP=c:\\qorbel\\som\\moondrop\r\n\r\n" +
                      DataFile("windows/TELUMA.INI");
    dir_.Write("windows/TELUMA.INI", ini);
    if (!levels.empty()) dir_.Write("qorbel/lunardif.ini", levels);
    fs::create_directories(dir_.path() + "/qorbel/som/moondrop");
    fs::create_directories(dir_.path() + "/qorbel/som/letras");
    // The translator's rules, and an empty voice: words are spoken as silence, which is all a
    // transcript needs.
    for (const char* rules : {"regras.rgr", "portug.exc"})
      dir_.Write(std::string("qorbel/som/difones/") + rules, DataFile(std::string("difones/") + rules));
    for (int speed = 1; speed <= 5; ++speed)
      for (const char* extension : {".IND", ".DIF"})
        dir_.Write("qorbel/som/difones/DIFONES" + std::to_string(speed) + extension, "");
  }
  std::string Root() const { return dir_.path(); }
  std::string Work() const { return dir_.path() + "/qorbel"; }
  std::string ScoreFile() const { return testkit::ReadFile(Work() + "/luplacar.ini"); }
  void Write(const std::string& relative, const std::string& contents) const {
    dir_.Write(relative, contents);
  }
  // A short silent recording in the game folder.
  void Record(const std::string& key) const {
    dir_.Write("qorbel/som/moondrop/" + key + ".wav", testkit::SilentWave(110));
  }

  testkit::RunResult Play(const std::string& keys, const std::string& seed = "1",
                          const std::string& workDir = {}, const std::string& user = {}) const {
    testkit::RunOptions options;
    options.keys = keys;
    options.workDir = workDir.empty() ? Work() : workDir;
    options.asUser = user;
    options.env = {{"TELUMA_ROOT", Root()}, {"TELUMA_WINDIR", Root() + "/windows"},
                   {"TELUMA_SEED", seed}};
    return testkit::RunHeadless(testkit::BuildDir() + "/src/apps/moondrop", options);
  }

 private:
  testkit::TempDir dir_;
};

// The texts handed to SpeakText, in order, as UTF-8.
std::vector<std::string> Spoken(const testkit::RunResult& r) {
  std::vector<std::string> texts;
  for (const auto& e : r.Named("SPEAK")) texts.push_back(testkit::Unquote(e.data));
  return texts;
}

int CountOf(const std::vector<std::string>& texts, const std::string& text) {
  int n = 0;
  for (const auto& t : texts) n += t == text;
  return n;
}

// Index of the first text equal to text at or after from, or -1.
int IndexOf(const std::vector<std::string>& texts, const std::string& text, int from = 0) {
  for (int i = from; i < static_cast<int>(texts.size()); ++i)
    if (texts[i] == text) return i;
  return -1;
}

// The keys of the opening: no instructions, no table, start a game.
const char* kOpening = "n\nn\nEnter\n";

// Timed keys: one line per key, each ms after the previous one.
std::string Timed(int ms, const std::string& key, int times) {
  std::string lines;
  for (int i = 0; i < times; ++i) {
    // Appended piece by piece: the operator+ chain trips a false warning of GCC 12.
    lines += '+';
    lines += std::to_string(ms);
    lines += ' ';
    lines += key;
    lines += '\n';
  }
  return lines;
}

}  // namespace

TEST(GameOpening, QuestionsAndTheirYesRules) {
  Game game;
  // 's' gives the instructions, Enter declines the table, 'n' declines the game.
  auto r = game.Play("s\nEnter\nn\n");
  EXPECT_EQ(r.exitCode, 0);
  auto spoken = Spoken(r);
  std::vector<std::string> expected = {
      "Alunisagem - um desafio para pilotos!", "Benvindo ao jogo de Alunisagem!",
      "Deseja instruções? "};
  ASSERT_GE(spoken.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(spoken.begin(), spoken.begin() + 3), expected);
  EXPECT_EQ(spoken[3].rfind("\r\n\r\nINSTRUÇÕES DO JOGO.", 0), 0u);
  EXPECT_NE(IndexOf(spoken, "Quer conhecer os ases pilotos? "), -1);
  EXPECT_EQ(IndexOf(spoken, "Use as setas para conhecer os ases pilotos e sua pontuação"), -1);
  EXPECT_NE(IndexOf(spoken, "Começar jogo? "), -1);
  EXPECT_EQ(IndexOf(spoken, "Digite a sua opção de dificuldade de 1 a 3: "), -1);
  EXPECT_EQ(spoken.back(), "Tchau...");
  EXPECT_EQ(CountOf(spoken, "Alunisagem - um desafio para pilotos!"), 1);
  std::string out = r.Output();
  EXPECT_THAT(out, HasSubstr("Deseja instruções? s\r\n"));
  EXPECT_THAT(out, HasSubstr("Tchau...\r\n"));
  EXPECT_FALSE(fs::exists(game.Work() + "/luplacar.ini"));  // no flight, nothing written
  ASSERT_FALSE(r.Named("EXIT").empty());
  EXPECT_EQ(r.Named("EXIT").back().data, "0");
}

TEST(GameOpening, OtherKeysDeclineInstructionsAndTableButAcceptTheGame) {
  Game game;
  // 'x' declines the instructions, 'S' shows the table (left with Esc), 'x' starts a game
  auto r = game.Play("x\nS\nEsc\nx\n");
  auto spoken = Spoken(r);
  EXPECT_EQ(std::count_if(spoken.begin(), spoken.end(),
                          [](const std::string& s) { return s.find("INSTRU") != std::string::npos; }),
            0);
  EXPECT_NE(IndexOf(spoken, "Use as setas para conhecer os ases pilotos e sua pontuação"), -1);
  EXPECT_NE(IndexOf(spoken, "Digite a sua opção de dificuldade de 1 a 3: "), -1);
  // the key script ran out at the level question: the program ended through the close path
  EXPECT_EQ(IndexOf(spoken, "Tchau..."), -1);
}

TEST(GameFlight, FreeFallCrashesWithCalloutsWarningsAndStatus) {
  Game game;
  auto r = game.Play(std::string(kOpening) + "1\nEnter\nEsc\nn\n");
  EXPECT_EQ(r.exitCode, 0);
  auto spoken = Spoken(r);
  // the briefing
  int greeting = IndexOf(spoken, "Olá, você está a bordo do ALBATROSSIA 1 e terá de conduzir\r\na nave "
                            "em segurança até a aterrizagem na Lua. BOA SORTE!");
  ASSERT_NE(greeting, -1);
  EXPECT_EQ(spoken[greeting + 1], "A altura inicial é de ");
  EXPECT_EQ(spoken[greeting + 2], "1000 metros");
  EXPECT_EQ(spoken[greeting + 4], "0 metros por segundo ");
  EXPECT_EQ(spoken[greeting + 6], "200 litros");
  EXPECT_EQ(spoken[greeting + 7], "Pressione enter para começar a alunisagem.");
  // callouts in order; starting exactly on 1000 m says nothing for it
  EXPECT_EQ(IndexOf(spoken, "Mil metros."), -1);
  int c500 = IndexOf(spoken, "Quinhentos metros.");
  int c250 = IndexOf(spoken, "Duzentos e cinquenta metros.", c500);
  int c100 = IndexOf(spoken, "Cem metros.", c250);
  int c50 = IndexOf(spoken, "Cinquenta metros.", c100);
  EXPECT_TRUE(c500 > greeting && c250 > c500 && c100 > c250 && c50 > c100);
  // the periodic altitude at turn 120 (about 984 m) is spoken as whole "ponto" tenth
  EXPECT_TRUE(std::any_of(spoken.begin(), spoken.end(), [](const std::string& s) {
    return s.find(" ponto ") != std::string::npos;
  }));
  // near the ground and too fast, on a red background
  int rapido = IndexOf(spoken, "ATENÇÃO, você está muito rápido próximo ao solo.");
  EXPECT_GT(rapido, c100);
  EXPECT_NE(IndexOf(spoken, "ATENÇÃO, você está rápido demais."), -1);
  // the outcome: an explosion scored 0
  int boom = IndexOf(spoken, "A nave explodiu!");
  ASSERT_NE(boom, -1);
  EXPECT_EQ(spoken[boom + 1], "Velocidade final: ");
  EXPECT_EQ(spoken[boom + 3], "Combustivel gasto: ");
  EXPECT_EQ(spoken[boom + 4], "0");
  EXPECT_EQ(spoken[boom + 5], "Sua pontuação: ");
  EXPECT_EQ(spoken[boom + 6], "0");
  EXPECT_EQ(IndexOf(spoken, "Parabéns, você entrará para o quadro de ases pilotos!!!"), -1);
  std::string out = r.Output();
  EXPECT_THAT(out, HasSubstr("tempo= 1.1 altura= 1000.0 velocidade= 0.2 combustível atual= 200\r"));
  EXPECT_THAT(out, HasSubstr("\r\nA nave explodiu!\r\n\r\nVelocidade final: "));
  EXPECT_THAT(out, HasSubstr("Velocidade final: 6"));
  // the explosion stays on screen in white on red
  ASSERT_EQ(r.screen.size(), r.attrs.size());
  bool red = false;
  for (size_t row = 0; row < r.screen.size(); ++row)
    if (r.screen[row].rfind("A nave explodiu!", 0) == 0)
      red = r.attrs[row].substr(0, 32) == "4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F4F";
  EXPECT_TRUE(red);
  // the flight takes about 30 s: the status line's time passes 30
  EXPECT_THAT(out, HasSubstr("tempo= 30.0"));
  // the table was written after the flight, unchanged
  EXPECT_EQ(game.ScoreFile(),
            "Caio Martelo\r\n3130\r\nErnesto Brandi\r\n1725\r\nN\xF4 V\xE1\r\n531\r\n");
  // pings while falling
  auto effects = r.Named("EFFECT");
  EXPECT_GT(std::count_if(effects.begin(), effects.end(),
                          [](const auto& e) { return e.data == "c:\\qorbel\\som\\moondrop\\ping2.wav"; }),
            50);
}

TEST(GameFlight, LandingEntersTheTableAndAsksTheName) {
  Game game("30\r\n100\r\n30\r\n20\r\n");
  game.Record("FOGOS");
  game.Record("APLAUSOS");
  game.Record("LUPARABE");
  auto r = game.Play(std::string(kOpening) + "1\nEnter\n\"Ana Maria\" Enter\nDown Down Up Esc\nN\n");
  EXPECT_EQ(r.exitCode, 0);
  auto spoken = Spoken(r);
  EXPECT_NE(IndexOf(spoken, "Muito bem, a nave pousou!"), -1);
  EXPECT_EQ(IndexOf(spoken, "A nave explodiu!"), -1);
  // the recording replaces the spoken text; the text is still written
  EXPECT_EQ(IndexOf(spoken, "Parabéns, você entrará para o quadro de ases pilotos!!!"), -1);
  std::string out = r.Output();
  EXPECT_THAT(out, HasSubstr("Parabéns, você entrará para o quadro de ases pilotos!!!\r\n"));
  std::vector<std::string> played;
  for (const auto& e : r.Named("PLAY")) played.push_back(e.data);
  auto played_has = [&](const std::string& tail) {
    return std::any_of(played.begin(), played.end(), [&](const std::string& p) {
      return p.size() >= tail.size() && p.compare(p.size() - tail.size(), tail.size(), tail) == 0;
    });
  };
  EXPECT_TRUE(played_has("FOGOS.wav"));  // a free fall from 30 m scores above 3500
  EXPECT_FALSE(played_has("APLAUSOS.wav"));
  EXPECT_TRUE(played_has("LUPARABE.wav"));
  // the score: 5000 - (7 t + 113 v), t and v of a 30 m fall
  int points = IndexOf(spoken, "Sua pontuação: ");
  ASSERT_NE(points, -1);
  int score = std::stoi(spoken[points + 1]);
  EXPECT_GT(score, 3500);
  EXPECT_LT(score, 3700);
  // the table holds the pilot in first place and was saved
  EXPECT_EQ(game.ScoreFile().rfind("Ana Maria\r\n" + std::to_string(score) + "\r\nCaio Martelo\r\n", 0),
            0u);
  // browsing: the first item, the second, the first again
  std::string first = "Ana Maria" + std::string(31, ' ') + " " + std::to_string(score);
  int a = IndexOf(spoken, first, points);
  ASSERT_NE(a, -1);
  EXPECT_EQ(spoken[a + 1], "Caio Martelo" + std::string(28, ' ') + " 3130");
  EXPECT_EQ(spoken[a + 2], "Ernesto Brandi" + std::string(26, ' ') + " 1725");
  EXPECT_EQ(spoken[a + 3], "Caio Martelo" + std::string(28, ' ') + " 3130");
  EXPECT_EQ(spoken.back(), "Tchau...");
  EXPECT_NE(IndexOf(spoken, "Gostei de jogar com você!"), -1);
}

TEST(GameFlight, ScreenReviewAtTheNamePrompt) {
  Game game("30\r\n100\r\n30\r\n20\r\n");
  auto r = game.Play(std::string(kOpening) +
                     "1\nEnter\nAlt+Ctrl+F9 Ctrl+PgUp Ctrl+k Up Esc\n\"Ana\" Enter\nEsc\nN\n");
  EXPECT_EQ(r.exitCode, 0);
  auto spoken = Spoken(r);
  // The first letter on the screen is the start of the title on row 1.
  EXPECT_NE(IndexOf(spoken, "1 1"), -1);
  EXPECT_EQ(game.ScoreFile().rfind("Ana\r\n", 0), 0u);
}

TEST(GameFlight, EscAtTheNameAndAnotherGame) {
  Game game("30\r\n100\r\n30\r\n20\r\n");
  // two flights: Esc at the name prompt, Enter at "play again", then 'n'
  auto r = game.Play(std::string(kOpening) + "1\nEnter\nEsc\nEsc\nEnter\n1\nEnter\n\"Bia\" Enter\nEsc\nn\n");
  EXPECT_EQ(r.exitCode, 0);
  auto spoken = Spoken(r);
  EXPECT_EQ(CountOf(spoken, "Quer jogar de novo? "), 2);
  EXPECT_EQ(CountOf(spoken, "Muito bem, a nave pousou!"), 2);
  std::string scores = game.ScoreFile();
  EXPECT_THAT(scores, HasSubstr("<sem nome>\r\n"));
  EXPECT_THAT(scores, HasSubstr("Bia\r\n"));
  // equal scores: the later pilot stays below the earlier one
  EXPECT_LT(scores.find("<sem nome>"), scores.find("Bia"));
  EXPECT_EQ(CountOf(spoken, "Alunisagem - um desafio para pilotos!"), 1);  // only at start-up
}

TEST(GameFlight, SpaceAndEnterReports) {
  Game game;
  // space after about 2 s of flight, Enter after 4 s
  auto r = game.Play(std::string(kOpening) + "1\nEnter\n+2000 Space\n+2000 Enter\nEsc\nn\n");
  auto spoken = Spoken(r);
  int tempo = IndexOf(spoken, "Tempo: ");
  ASSERT_NE(tempo, -1);
  EXPECT_EQ(spoken[tempo + 1], "3");  // started at 1.0 s
  EXPECT_EQ(spoken[tempo + 2], "Altura: ");
  EXPECT_THAT(spoken[tempo + 3], HasSubstr("99"));
  EXPECT_EQ(spoken[tempo + 4], "Velocidade: ");
  EXPECT_EQ(spoken[tempo + 6], "Combustível: ");
  EXPECT_EQ(spoken[tempo + 7], "200");
  // Enter: the altitude as an integer, spoken alone
  bool integerAltitude = false;
  for (size_t i = tempo + 8; i < spoken.size(); ++i)
    if (spoken[i].size() == 3 && std::all_of(spoken[i].begin(), spoken[i].end(), ::isdigit) &&
        spoken[i][0] == '9')
      integerAltitude = true;
  EXPECT_TRUE(integerAltitude);
}

TEST(GameFlight, RisingOutOfOrbitIsLost) {
  Game game("2990\r\n200\r\n30\r\n5\r\n");
  auto r = game.Play(std::string(kOpening) + "1\nEnter\n" + Timed(100, "9", 20) + "Esc\nn\n");
  auto spoken = Spoken(r);
  EXPECT_NE(IndexOf(spoken, "A nave saiu da órbita lunar.\r\nVocê não conseguirá voltar, está "
                            "irremediavelmente perdido no espaço."),
            -1);
  int points = IndexOf(spoken, "Sua pontuação: ");
  ASSERT_NE(points, -1);
  EXPECT_EQ(spoken[points + 1], "0");
  EXPECT_EQ(IndexOf(spoken, "Muito bem, a nave pousou!"), -1);
  // rising: a pong for each 10 m above the marker, never a ping
  auto effects = r.Named("EFFECT");
  auto count = [&](const std::string& name) {
    return std::count_if(effects.begin(), effects.end(), [&](const auto& e) {
      return e.data == "c:\\qorbel\\som\\moondrop\\" + name;
    });
  };
  EXPECT_GE(count("pong.wav"), 1);
  EXPECT_EQ(count("ping2.wav"), 0);
  // keys left over from the flight do not answer the next question
  EXPECT_NE(IndexOf(spoken, "Tchau..."), -1);
}

TEST(GameFlight, BreakUpSpeed) {
  Game game("100\r\n300\r\n30\r\n5\r\n");
  auto r = game.Play(std::string(kOpening) + "1\nEnter\n" + Timed(100, "9", 16) + "Esc\nn\n");
  auto spoken = Spoken(r);
  EXPECT_NE(IndexOf(spoken, "A nave não suportou a velocidade e explodiu! Você virou pó espacial."),
            -1);
  int points = IndexOf(spoken, "Sua pontuação: ");
  ASSERT_NE(points, -1);
  EXPECT_EQ(spoken[points + 1], "0");
  // burning: the fuel sound of the small burns
  auto effects = r.Named("EFFECT");
  EXPECT_TRUE(std::any_of(effects.begin(), effects.end(), [](const auto& e) {
    return e.data == "c:\\qorbel\\som\\moondrop\\APLICCOMB";
  }));
}

TEST(GameFlight, FuelRunsOutWithAlarm) {
  Game game("1000\r\n5\r\n30\r\n5\r\n");
  auto r = game.Play(std::string(kOpening) + "1\nEnter\n+300 9\nEsc\nn\n");
  auto spoken = Spoken(r);
  EXPECT_EQ(CountOf(spoken, "Fim do combustível."), 1);
  EXPECT_GE(CountOf(spoken, "Nave sem combustível!"), 1);
  auto effects = r.Named("EFFECT");
  EXPECT_TRUE(std::any_of(effects.begin(), effects.end(), [](const auto& e) {
    return e.data == "c:\\qorbel\\som\\moondrop\\ALARM2";
  }));
}

TEST(GameFiles, MissingOrMalformedDifficultyFile) {
  for (std::string levels : {std::string(), std::string("1000\r\n200\r\n*\r\n"), std::string("mil\r\n")}) {
    Game game(levels);
    // A 0 m flight without fuel explodes at once, yet the explosion's 2000-point rule puts it
    // in the table: Esc at the name, Esc in the table.
    auto r = game.Play(std::string(kOpening) + "2\nEnter\nEsc\nEsc\nn\n");
    EXPECT_EQ(r.exitCode, 0);
    auto spoken = Spoken(r);
    EXPECT_NE(IndexOf(spoken, "Erro no arquivo de configuração!"), -1);
    EXPECT_NE(IndexOf(spoken, "0 metros"), -1);  // the flight starts at 0 m without fuel
    EXPECT_NE(IndexOf(spoken, "A nave explodiu!"), -1);
    EXPECT_NE(IndexOf(spoken, "Tchau..."), -1);
    EXPECT_THAT(game.ScoreFile(), HasSubstr("<sem nome>\r\n19"));
  }
}

TEST(GameFiles, ScoreFileReadAndUnwritableFolder) {
  Game game;
  game.Write("qorbel/luplacar.ini", "Zeca\r\n4000\r\nquebrado\r\nxx\r\n");
  // The table is written in the current folder; there "luplacar.ini" is a folder, so the new
  // file cannot take its place.
  std::string work = game.Root() + "/jogo";
  fs::create_directories(work + "/luplacar.ini");
  auto r = game.Play("n\nS\nEnd\nHome\nz\nEsc\nS\n1\nEnter\nEsc\nn\n", "1", work);
  EXPECT_EQ(r.exitCode, 0);
  auto spoken = Spoken(r);
  EXPECT_EQ(CountOf(spoken, "Erro no arquivo de configuração!"), 1);
  int zeca = IndexOf(spoken, "Zeca" + std::string(36, ' ') + " 4000");
  ASSERT_NE(zeca, -1);
  EXPECT_EQ(spoken[zeca + 1], "quebrado" + std::string(32, ' ') + " 0");  // End
  EXPECT_EQ(spoken[zeca + 2], spoken[zeca]);                             // Home
  EXPECT_EQ(spoken[zeca + 3], "Começar jogo? ");  // 'z' finds no later item: a beep, no speech
  EXPECT_NE(IndexOf(spoken, "Tchau..."), -1);
  EXPECT_TRUE(fs::is_directory(work + "/luplacar.ini"));
  EXPECT_FALSE(fs::exists(work + "/luplacar.ini.novo"));
  EXPECT_EQ(game.ScoreFile(), "Zeca\r\n4000\r\nquebrado\r\nxx\r\n");  // read, never written
}

namespace {
// Plays seeds from 1 on until pred holds for a game (at most limit seeds).
template <class Pred>
testkit::RunResult FirstSeedWhere(const Game& game, const std::string& keys, int limit, Pred pred,
                                  int& seed) {
  for (seed = 1; seed <= limit; ++seed) {
    auto r = game.Play(keys, std::to_string(seed));
    if (pred(r)) return r;
  }
  return {};
}

// Fuel of each status line, in order.
std::vector<int> FuelShown(const testkit::RunResult& r) {
  std::vector<int> fuel;
  const std::string label = "combustível atual= ";
  for (const auto& e : r.Named("OUT")) {
    std::string text = testkit::Unquote(e.data);
    size_t at = text.find(label);
    if (text.rfind("tempo= ", 0) == 0 && at != std::string::npos)
      fuel.push_back(std::stoi(text.substr(at + label.size())));
  }
  return fuel;
}
}  // namespace

TEST(GameEvents, LevelOneHasNoFaults) {
  Game game("2900\r\n400\r\n30\r\n5\r\n");
  std::string keys = std::string(kOpening) + "1\nEnter\n" + Timed(300, "1", 250) + "Esc\nn\n";
  for (int seed = 1; seed <= 15; ++seed) {
    auto spoken = Spoken(game.Play(keys, std::to_string(seed)));
    for (const auto& s : spoken) {
      EXPECT_EQ(s.find("Entupimento"), std::string::npos);
      EXPECT_EQ(s.find("VAZADO"), std::string::npos);
    }
  }
}

TEST(GameEvents, CloggedHoseWithAFixedSeed) {
  Game game("1000\r\n200\r\n30\r\n5\r\n*\r\n2500\r\n400\r\n30\r\n5\r\n");
  std::string keys = std::string(kOpening) + "2\nEnter\n" + Timed(300, "1", 250) + "Esc\nEsc\nn\n";
  int seed = 0;
  auto r = FirstSeedWhere(game, keys, 60, [](const testkit::RunResult& run) {
    return IndexOf(Spoken(run), "Entupimento na mangueira, combustível utilizado: ") != -1;
  }, seed);
  auto spoken = Spoken(r);
  int clog = IndexOf(spoken, "Entupimento na mangueira, combustível utilizado: ");
  ASSERT_NE(clog, -1) << "no clog in 60 seeds";
  EXPECT_EQ(spoken[clog + 1], "0");  // a burn of 1 clogged: (1 × r) div 5 = 0
  EXPECT_EQ(spoken[clog + 2], "Injete mais combustível.");
  EXPECT_THAT(r.Output(), HasSubstr("Entupimento na mangueira, combustível utilizado: 0.\r\n"
                                    "Injete mais combustível.\r\n"));
  // the same seed gives the same game
  auto again = game.Play(keys, std::to_string(seed));
  EXPECT_EQ(Spoken(again), spoken);
}

TEST(GameEvents, FuelLeakWithAFixedSeed) {
  Game game("1000\r\n200\r\n30\r\n5\r\n*\r\n2900\r\n400\r\n30\r\n5\r\n");
  std::string keys = std::string(kOpening) + "2\nEnter\nEsc\nn\n";
  int seed = 0;
  auto r = FirstSeedWhere(game, keys, 100, [](const testkit::RunResult& run) {
    return IndexOf(Spoken(run), "COMBUSTÍVEL VAZADO! ") != -1;
  }, seed);
  auto spoken = Spoken(r);
  int leak = IndexOf(spoken, "COMBUSTÍVEL VAZADO! ");
  ASSERT_NE(leak, -1) << "no leak in 100 seeds";
  int amount = std::stoi(spoken[leak + 1]);
  EXPECT_GE(amount, 5);
  EXPECT_LE(amount, 9);
  // the status lines show the tank drop by that amount, once
  auto fuel = FuelShown(r);
  ASSERT_FALSE(fuel.empty());
  EXPECT_EQ(fuel.front(), 400);
  EXPECT_EQ(fuel.back(), 400 - amount);
  // no key was pressed, yet fuel was lost: "Combustivel gasto" counts the leak
  int used = IndexOf(spoken, "Combustivel gasto: ");
  ASSERT_NE(used, -1);
  EXPECT_EQ(spoken[used + 1], std::to_string(amount));
}

TEST(GameFlight, BurningHardAtTheGroundDigsACraterAndScoresZero) {
  // From 10 m the rocket is 6 cm up at 6.6 m/s in turn 31: a full burn then takes it below the
  // surface while rising. The key comes during the pause before that turn.
  Game game("10\r\n100\r\n30\r\n5\r\n");
  auto r = game.Play(std::string(kOpening) + "1\nEnter\n+2950 9\nEsc\nn\n");
  auto spoken = Spoken(r);
  int crater = IndexOf(spoken, "Você usou muito combustível próximo ao chão, criando uma cratera e "
                               "enterrando a nave no solo. Você perdeu.");
  ASSERT_NE(crater, -1);
  EXPECT_EQ(IndexOf(spoken, "A nave explodiu!"), -1);
  EXPECT_EQ(IndexOf(spoken, "Muito bem, a nave pousou!"), -1);
  EXPECT_EQ(IndexOf(spoken, "Velocidade final: "), -1);
  EXPECT_EQ(spoken[crater + 1], "Combustivel gasto: ");
  EXPECT_EQ(spoken[crater + 2], "9");
  EXPECT_EQ(spoken[crater + 4], "0");  // the flight is lost, whatever the speed
  EXPECT_EQ(IndexOf(spoken, "Parabéns, você entrará para o quadro de ases pilotos!!!"), -1);
}

TEST(GameFlight, WithTheOutsideVoiceEveryTextGoesToIt) {
  Game game;
  // The first value of a key wins: the outside voice of kind 5 is turned on.
  const std::string ini = testkit::ReadFile(game.Root() + "/windows/TELUMA.INI");
  game.Write("windows/TELUMA.INI",
             "[TRADUTOR]\r\nSAPI=S\r\n[SERVFALA]\r\nTIPOSAPI=5\r\nVOZ=1\r\n" + ini);
  auto r = game.Play(std::string(kOpening) + "1\nEnter\nEsc\nn\n");
  EXPECT_EQ(r.exitCode, 0);
  auto spoken = Spoken(r);
  auto synth = r.Named("SYNTH");
  ASSERT_EQ(synth.size(), spoken.size());
  for (size_t i = 0; i < synth.size(); ++i) EXPECT_EQ(testkit::Unquote(synth[i].data), spoken[i]);
  EXPECT_TRUE(r.Named("DIPHONE").empty());
  EXPECT_NE(IndexOf(spoken, "A nave explodiu!"), -1);
  EXPECT_EQ(spoken.back(), "Tchau...");
}

namespace {
// A 10 m free fall: it explodes at once and enters the table (Esc at the name, Esc in the list).
const char* kShortFall = "10\r\n100\r\n30\r\n5\r\n";
const std::string kTwoFlights = std::string(kOpening) + "1\nEnter\nEsc\nEsc\nS\n1\nEnter\nEsc\nEsc\nn\n";
const char* kUnreadable = "Não foi possível ler a tabela de pontos. Os pontos deste jogo não serão gravados.";
const char* kNotSaved = "Não foi possível gravar a tabela de pontos.";

std::string Row(const std::string& name, int score) {
  return name + std::string(40 - name.size(), ' ') + " " + std::to_string(score);
}

// A game whose data tree the unprivileged user can reach; file modes bind only users other than
// root, so these tests run as nobody.
bool MakeReachable(const Game& game) {
  if (geteuid() != 0) return false;
  for (const auto& entry : fs::recursive_directory_iterator(game.Root()))
    if (entry.is_directory()) fs::permissions(entry.path(), fs::perms::all);
  fs::permissions(game.Root(), fs::perms::all);
  return true;
}
}  // namespace

TEST(GameScoreFile, UnreadableTableIsNeverOverwritten) {
  Game game(kShortFall);
  game.Write("qorbel/luplacar.ini", "Zeca\r\n4000\r\n");
  if (!MakeReachable(game)) GTEST_SKIP() << "needs root to run the game as nobody";
  fs::permissions(game.Work() + "/luplacar.ini", fs::perms::none);  // in a writable folder
  auto r = game.Play("n\nS\nEsc\nEnter\n1\nEnter\nEsc\nEsc\nn\n", "1", {}, "nobody");
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  auto spoken = Spoken(r);
  EXPECT_EQ(CountOf(spoken, kUnreadable), 1);
  EXPECT_THAT(r.Output(), HasSubstr(std::string(kUnreadable) + "\r\n"));
  // Not the default pilots: the table starts empty and keeps this run's flight in memory.
  EXPECT_EQ(IndexOf(spoken, Row("Caio Martelo", 3130)), -1);
  EXPECT_NE(IndexOf(spoken, "Parabéns, você entrará para o quadro de ases pilotos!!!"), -1);
  EXPECT_NE(IndexOf(spoken, "Tchau..."), -1);
  EXPECT_EQ(game.ScoreFile(), "Zeca\r\n4000\r\n");
}

TEST(GameScoreFile, SaveInAReadOnlyFolderFailsAndIsSaidOnce) {
  Game game(kShortFall);
  game.Write("qorbel/luplacar.ini", "Zeca\r\n4000\r\n");
  if (!MakeReachable(game)) GTEST_SKIP() << "needs root to run the game as nobody";
  fs::permissions(game.Work(), fs::perms::owner_write | fs::perms::group_write |
                                   fs::perms::others_write, fs::perm_options::remove);
  auto r = game.Play(kTwoFlights, "1", {}, "nobody");
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  auto spoken = Spoken(r);
  EXPECT_EQ(CountOf(spoken, kNotSaved), 1);  // four saves over two flights
  EXPECT_THAT(r.Output(), HasSubstr(std::string(kNotSaved) + "\r\n"));
  EXPECT_EQ(CountOf(spoken, "Sua pontuação: "), 2);
  EXPECT_EQ(game.ScoreFile(), "Zeca\r\n4000\r\n");
}

TEST(GameScoreFile, SaveOnAFullFileSystemFailsAndIsSaidOnce) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to mount a small file system";
  Game game(kShortFall);
  std::string full = game.Root() + "/cheio", kept = game.Root() + "/guardado.ini";
  fs::create_directories(full);
  // A private mount of one page, taken up by the old table and a filler; the old table is
  // copied out when the game has ended.
  const char* script =
      "mount -t tmpfs -o size=4k tmpfs \"$1\" 2>/dev/null || exit 77\n"
      "cd \"$1\" && printf 'Zeca\\r\\n4000\\r\\n' > luplacar.ini && cat /dev/zero > enche 2>/dev/null\n"
      "\"$2\"; status=$?\n"
      "cp luplacar.ini \"$3\"; [ -e luplacar.ini.novo ] && echo sobrou; exit $status\n";
  testkit::RunOptions options;
  options.keys = kTwoFlights;
  options.workDir = full;
  options.args = {"--mount", "/bin/sh", "-c", script, "sh", full,
                  testkit::BuildDir() + "/src/apps/moondrop", kept};
  options.env = {{"TELUMA_ROOT", game.Root()}, {"TELUMA_WINDIR", game.Root() + "/windows"}};
  auto r = testkit::RunHeadless("/usr/bin/unshare", options);
  if (r.exitCode == 77 || (r.exitCode == 1 && r.events.empty()))
    GTEST_SKIP() << "no private mount here: " << r.stderrText;
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(CountOf(Spoken(r), kNotSaved), 1);
  EXPECT_EQ(testkit::ReadFile(kept), "Zeca\r\n4000\r\n");
  EXPECT_THAT(r.stdoutText, Not(HasSubstr("sobrou")));  // no temporary left behind
}

TEST(GameScoreFile, StaleTemporaryIsRemovedAndNeverRead) {
  Game game(kShortFall);
  game.Write("qorbel/luplacar.ini.novo", "Intruso\r\n9999\r\n");
  auto r = game.Play("n\nS\nEsc\nEnter\n1\nEnter\nEsc\nEsc\nn\n");
  EXPECT_EQ(r.exitCode, 0);
  auto spoken = Spoken(r);
  int header = IndexOf(spoken, "Use as setas para conhecer os ases pilotos e sua pontuação");
  ASSERT_NE(header, -1);
  EXPECT_EQ(spoken[header + 1], Row("Caio Martelo", 3130));  // the default table
  EXPECT_FALSE(fs::exists(game.Work() + "/luplacar.ini.novo"));
  EXPECT_THAT(game.ScoreFile(), Not(HasSubstr("Intruso")));
}

TEST(GameScoreFile, LineEndsOfEveryKindInBothFiles) {
  Game game("1500\r150\r20\r4\r*\r10\r100\r30\r5\r");
  game.Write("qorbel/luplacar.ini", "Zeca\r4000\rBia\r300\r");
  auto r = game.Play("n\nS\nEsc\nEnter\n2\nEnter\nEsc\nEsc\nn\n");
  EXPECT_EQ(r.exitCode, 0);
  auto spoken = Spoken(r);
  EXPECT_NE(IndexOf(spoken, Row("Zeca", 4000)), -1);
  EXPECT_NE(IndexOf(spoken, "10 metros"), -1);  // level 2 found after the CR-only separator
  EXPECT_EQ(game.ScoreFile().rfind("Zeca\r\n4000\r\n", 0), 0u);
  EXPECT_THAT(game.ScoreFile(), HasSubstr("Bia\r\n300\r\n"));
}

TEST(GameScoreFile, ManyBrokenEntriesAreReportedOnceWithTheirCount) {
  Game game(kShortFall);
  std::string table = "Zeca\r\n4000\r\n";
  for (int i = 0; i < 10000; ++i) table += "Ruim\r\nxx\r\n";
  game.Write("qorbel/luplacar.ini", table + "Bia\r\n300\r\n");
  auto r = game.Play("n\nS\nDown\nEsc\nn\n");
  EXPECT_EQ(r.exitCode, 0);
  auto spoken = Spoken(r);
  EXPECT_EQ(CountOf(spoken, "Erro no arquivo de configuração!"), 1);
  int count = IndexOf(spoken, "Entradas com erro na tabela de pontos: ");
  ASSERT_NE(count, -1);
  EXPECT_EQ(spoken[count + 1], "10000");
  ASSERT_GT(spoken.size(), count + 5u);
  EXPECT_EQ(spoken[count + 4], Row("Zeca", 4000));  // after the question and the header
  EXPECT_EQ(spoken[count + 5], Row("Bia", 300));
}

// With "SAPI" on and kind 4 the game speaks through the desktop's speech service; with no
// service the built-in voice speaks instead.
TEST(GameSpeech, TheDesktopServiceOrTheBuiltInVoice) {
  testkit::SpeechService service;
  ASSERT_TRUE(service.Running());
  Game game;
  std::string ini = testkit::ReadFile(game.Root() + "/windows/TELUMA.INI");
  // The shipped file may already have the outside synthesizer on.
  for (auto [from, to] : {std::pair{"SAPI=N", "SAPI=S"}, {"TIPOSAPI=3", "TIPOSAPI=4"}})
    if (size_t at = ini.find(from); at != std::string::npos) ini.replace(at, std::string(from).size(), to);
  game.Write("windows/TELUMA.INI", ini);

  auto r = game.Play("n\nn\nn\n");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.Named("DIPHONE").empty());
  ASSERT_FALSE(r.Named("SYNTH").empty());
  EXPECT_EQ(testkit::Unquote(r.Named("SYNTH").back().data), "Tchau...");
  // Texts cut short by a key may never start; the first and the farewell always do.
  auto lines = service.Spoken();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front().rfind("outro|Alunisagem - um desafio para pilotos!|", 0), 0u);
  EXPECT_EQ(lines.back().rfind("outro|Tchau...|", 0), 0u);

  service.Kill();
  r = game.Play("n\nn\nn\n");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.Named("SYNTH").empty());
  EXPECT_FALSE(r.Named("DIPHONE").empty());
}
