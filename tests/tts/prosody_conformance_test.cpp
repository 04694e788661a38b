// Conformance of the prosody stage of the Portuguese front end on small configuration files:
// loader messages, tokens and word keys, pitch patterns, durations, pitch points and the
// bridges inserted where the diphone list lacks a pair.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp1252.hpp"
#include "testkit/testkit.hpp"
#include "tts/uttsProsodia.hpp"

namespace {

using Lines = std::vector<std::string>;

std::string C(const std::string& utf8) { return platform::Utf8ToCp1252(utf8); }

const char* kProsody =
    "; cabeçalho\n"
    "[PROSÓDIA]\n"
    "hertz=200\n"
    "TABHERTZ= 0, 50 ,60,70,80,100,110,120,130,140\n"
    "AR |XX|=111\n"
    "|XX|..=?31\n"
    "XX||=426\n"
    "||=555\n"
    "[CHAVES]\n"
    "* comentário\n"
    "casa = sb\n"
    "ÁGUA=xyz\n"
    "[DURAÇÃO]\n"
    "a=80\n"
    "k=100\n"
    "abc=55\n"
    "k=7\n"
    "__=300\n"
    "_,=200\n"
    "z=50\n"
    "@=60\n";

class Prosody : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProsodyMessageHandler([this](const std::string& m) { messages_.push_back(m); });
  }
  void TearDown() override {
    SetProsodyMessageHandler([](const std::string&) {});
    FreeDiphones();
    ResetPhoState();
  }
  bool LoadPro(const std::string& utf8) {
    messages_.clear();
    return LoadProsody(dir_.Write("p.pro", C(utf8)));
  }
  bool LoadDfn(const std::string& text) { return LoadDiphones(dir_.Write("p.dfn", text)); }
  Lines Pho(const Lines& lines, double duration = 1.0, double pitch = 1.0) {
    Lines in;
    for (const auto& l : lines) in.push_back(C(l));
    return BuildPhoLines(in, duration, pitch);
  }
  testkit::TempDir dir_;
  Lines messages_;
};

}  // namespace

TEST_F(Prosody, LoaderTablesAndSections) {
  ASSERT_TRUE(LoadPro(kProsody));
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(BaseHertz(), 200);
  EXPECT_EQ(PitchTable(), (std::array<int, 10>{0, 50, 60, 70, 80, 100, 110, 120, 130, 140}));
  EXPECT_EQ(PhonemeDuration("a"), 80);
  EXPECT_EQ(PhonemeDuration("k"), 100);  // the first entry of a name wins
  EXPECT_EQ(PhonemeDuration("ab"), 55);   // names are cut to two characters
  EXPECT_EQ(PhonemeDuration("abc"), 100);
  EXPECT_EQ(PhonemeDuration("x"), 100);
  EXPECT_EQ(PhonemeDuration("_,"), 200);
  EXPECT_EQ(WordKeyCount(), 2u);
  EXPECT_EQ(PatternRuleCount(), 4u);
}

TEST_F(Prosody, LoaderMessages) {
  EXPECT_FALSE(LoadProsody(dir_.path() + "/nada.pro"));
  EXPECT_EQ(messages_, Lines{C("Configuração da prosódia não foi achada")});

  EXPECT_FALSE(LoadPro("[CHAVES]\n[PROSÓDIA]\n"));
  EXPECT_EQ(messages_, Lines{C("Duração dos difones errada ou ausente")});
  EXPECT_FALSE(LoadPro("[DURAÇÃO]\na=1\n[PROSÓDIA]\n"));
  EXPECT_EQ(messages_, Lines{C("Prosódia: palavras chaves ausentes")});
  EXPECT_FALSE(LoadPro("[DURAÇÃO]\n[CHAVES]\n"));
  EXPECT_EQ(messages_, Lines{C("Prosódia: especificações ausentes")});
  // Section titles are compared trimmed.
  EXPECT_TRUE(LoadPro("  [DURAÇÃO]  \n[CHAVES]\n[PROSÓDIA]\n"));

  // Only the first character of the untrimmed line marks a comment.
  EXPECT_FALSE(LoadPro("[DURAÇÃO]\n ;a\n[CHAVES]\n[PROSÓDIA]\n"));
  EXPECT_EQ(messages_, Lines{C("Configuração da prosódia: fonema errado:  ;a")});
  // A duration that is no integer is reported and read as 100; the load goes on.
  EXPECT_TRUE(LoadPro("[DURAÇÃO]\na=oito\nk=50\n[CHAVES]\n[PROSÓDIA]\n"));
  EXPECT_EQ(messages_, Lines{C("Configuração da prosódia: fonema errado: a=oito")});
  EXPECT_EQ(PhonemeDuration("a"), 100);
  EXPECT_EQ(PhonemeDuration("k"), 50);
  EXPECT_FALSE(LoadPro("[DURAÇÃO]\n[CHAVES]\ncasa\n[PROSÓDIA]\n"));
  EXPECT_EQ(messages_, Lines{C("Configuração da prosódia: chave errada: casa")});
  // Pattern lines are upper-cased before they are read, and shown so.
  EXPECT_FALSE(LoadPro("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\nxx|é|555\n"));
  EXPECT_EQ(messages_, Lines{C("Configuração da prosódia: chave errada: XX|É|555")});
}

TEST_F(Prosody, TokensCarryWordKeys) {
  ASSERT_TRUE(LoadPro(kProsody));
  EXPECT_EQ(TokenizeWithKeys(C("  Casa  bela água. ")),
            (Lines{"[--]", "[SB]Casa", "[XX]bela", C("[XY]água"), "[..].", "[--]"}));
  EXPECT_EQ(TokenizeWithKeys(C("Ah... sim, (não)! e? -")),
            (Lines{"[--]", "[XX]Ah", "[.-].", "[--]", "[XX]sim", "[,,],", "[((](", C("[XX]não"),
                   "[))])", "[!!]!", "[--]", "[XX]e", "[??]?", "[--]", "[--]-"}));
  EXPECT_EQ(TokenizeWithKeys(""), Lines{"[--]"});
  EXPECT_EQ(TokenizeWithKeys(".."), (Lines{"[--]", "[.-].", "[--]"}));
}

TEST_F(Prosody, PitchPatternsFirstFittingRuleAndCarriedDigit) {
  ASSERT_TRUE(LoadPro(kProsody));
  EXPECT_EQ(AssignPitchPatterns(TokenizeWithKeys("bela bela bela.")),
            (Lines{"555|", "555|bela", "426|bela", "631|bela", "426|.", "555|"}));
  EXPECT_EQ(AssignPitchPatterns(TokenizeWithKeys("casa bela.")),
            (Lines{"555|", "555|casa", "531|bela", "426|.", "555|"}));
  // With no rule at all every item gets the middle pattern.
  ASSERT_TRUE(LoadPro("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\n"));
  EXPECT_EQ(AssignPitchPatterns(TokenizeWithKeys("oi.")), (Lines{"555|", "555|oi", "555|.", "555|"}));
  // A "?" on the first item takes the initial "5".
  ASSERT_TRUE(LoadPro("[DURAÇÃO]\n[CHAVES]\n[PROSÓDIA]\n||=?19\n"));
  EXPECT_EQ(AssignPitchPatterns(TokenizeWithKeys("oi")), (Lines{"519|", "919|oi"}));
}

TEST_F(Prosody, DiphoneListFormat) {
  ASSERT_TRUE(LoadDfn("; x\n! y\n* z\n\n  a-k 12 34\r\nr2\t_ rest\nE--@\n@ y\nK-A\n"));
  EXPECT_EQ(DiphoneCount(), 5u);
  EXPECT_TRUE(HasDiphone("a-k"));
  EXPECT_TRUE(HasDiphone("r2-_"));
  EXPECT_TRUE(HasDiphone("E-@"));
  EXPECT_TRUE(HasDiphone("e-@"));  // searched without regard to case
  EXPECT_TRUE(HasDiphone("@-y"));
  EXPECT_TRUE(HasDiphone("k-a"));
  EXPECT_FALSE(HasDiphone("a-z"));
  EXPECT_FALSE(LoadDiphones(dir_.path() + "/nada.dfn"));
}

TEST_F(Prosody, PhoLinesDurationsPitchAndBridges) {
  ASSERT_TRUE(LoadPro(kProsody));
  ASSERT_TRUE(LoadDfn("_ _\n_\tk\nK-A\na  z  123\nz-@\n@ _ x\na-a\n"));
  Lines got = Pho({";555|", "__", "", ";123|casa", "k", ">a", "z", "@", "", ";555|,", "_,",
                   ";456|abcdefghijklm", "k", "a", ">¨a", "¨z", "", "__"});
  Lines want = {";", "_ 300 50 200", "", ";casa", "k 100 50 100", "a 116 80 120", "z 72",
                "@ 87 50 140", "", ";,", "_ 200 50 200", ";abcdefghijklm", "k 80 50 160",
                "a 64", "a 116 80 200", "z 50 50 220", "", "_ 50", "_ 300 50 220"};
  EXPECT_EQ(got, want);
}

TEST_F(Prosody, PhoLinesWordLengthShortening) {
  ASSERT_TRUE(LoadPro(kProsody));
  ASSERT_TRUE(LoadDfn("_-k\nk-k\nk-a\na-k\n"));
  // 8 letters: full length; 9 to 12: 90 %; 13 and more: 80 %, only before the stress.
  EXPECT_EQ(Pho({";555|abcdefgh", "k", ""}), (Lines{";abcdefgh", "k 100 50 200", ""}));
  EXPECT_EQ(Pho({";555|abcdefghi", "k", ""}), (Lines{";abcdefghi", "k 90 50 200", ""}));
  EXPECT_EQ(Pho({";555|abcdefghijkl", "k", ""}), (Lines{";abcdefghijkl", "k 90 50 200", ""}));
  EXPECT_EQ(Pho({";555|abcdefghijklm", "k", ">a", "k", ""}),
            (Lines{";abcdefghijklm", "k 80 50 200", "a 116 80 200", "k 145 50 200", ""}));
}

TEST_F(Prosody, PhoLinesPausesFactorsAndSilentLevels) {
  ASSERT_TRUE(LoadPro(kProsody));
  ASSERT_TRUE(LoadDfn("_-a\na-y\n_-r2\nr2-_\n_-e\n_-_\na-a\n"));
  EXPECT_EQ(Pho({";555|x", "_ 250", "_", ""}), (Lines{";x", "_ 250 50 200", "_ 100", ""}));
  EXPECT_EQ(Pho({";555|x", ">a", ""}, 1.5, 0.5), (Lines{";x", "a 174 80 100", ""}));
  // A level of 0 gives no pitch target, but the phase still moves on.
  EXPECT_EQ(Pho({";050|x", "a", "a", ">a", ""}),
            (Lines{";x", "a 80", "a 80", "a 116 80 200", ""}));
  EXPECT_EQ(Pho({";000|x", "a", ">a", "a", ""}), (Lines{";x", "a 80", "a 116", "a 116", ""}));
  // Bridges: "y" when the previous phoneme has a pair with it, a pause otherwise.
  EXPECT_EQ(Pho({";555|x", "a", "k", ""}), (Lines{";x", "a 80 50 200", "y 50", "k 100", ""}));
  EXPECT_EQ(Pho({";555|x", "r2", "k", ""}), (Lines{";x", "r2 100 50 200", "_ 50", "k 100", ""}));
  EXPECT_EQ(Pho({";555|x", "e", "k", ""}), (Lines{";x", "e 100 50 200", "_ 50", "k 100", ""}));
  // The last phoneme name of a text is still current when the next text begins.
  ResetPhoState();
  Pho({";555|x", "a", "k"});
  EXPECT_EQ(Pho({";555|y", "a"}), (Lines{"_ 50", ";y", "_ 50", "a 80 50 200"}));
}
