// Suite settings, speech start-up and recorded phrases, through the probe over a tree of its
// own: where TELUMA.INI is read from, the "@" expansion, the keys of a speed step, the fatal
// start of the voice, and which file a phrase key or a character plays.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <cstdio>
#include <string>

#include "testkit/speech_tree.hpp"

namespace conformance {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string Setting(const Tree& tree, const std::string& section, const std::string& key) {
  const Lines r = Results(tree.Probe({"--nostart", "setting", section, key}));
  return r.empty() ? "<none>" : r[0];
}

TEST(ReadSuiteSetting, AtExpansionAndEmptySection) {
  Tree tree;
  tree.Settings(
      "[TELUMA]\r\nPGMTELUMA=d:\\suite\r\nQ=sem secao\r\n"
      "[X]\r\nA=@\\som\\x\r\nB=@\r\nC=c:\\a@\\b\r\nD=e-mail a@b\r\nE=@@\\z\r\n");
  EXPECT_EQ(Setting(tree, "X", "A"), "[d:\\suite\\som\\x]");
  EXPECT_EQ(Setting(tree, "X", "B"), "[d:\\suite]");
  EXPECT_EQ(Setting(tree, "X", "C"), "[c:\\ad:\\suite\\b]");
  EXPECT_EQ(Setting(tree, "X", "D"), "[e-mail a@b]");  // "@" without "\" stays
  // The leading "@" goes first, then the "@\" that remains.
  EXPECT_EQ(Setting(tree, "X", "E"), "[d:\\suited:\\suite\\z]");
  EXPECT_EQ(Setting(tree, "", "Q"), "[sem secao]");
  EXPECT_EQ(Setting(tree, "X", "FALTA"), "[]");
  EXPECT_EQ(Setting(tree, "FALTA", "A"), "[]");
}

TEST(ReadSuiteSetting, ProgramFolderFallsBackToTheStartFolder) {
  Tree tree;
  tree.Settings("[TELUMA]\r\nPGMTELUMA=\r\n[X]\r\nA=@\\som\r\nB=@\r\n");
  const std::string start = tree.path();
  EXPECT_EQ(Setting(tree, "X", "B"), std::string("[").append(start).append("]"));
  EXPECT_EQ(Setting(tree, "X", "A"), std::string("[").append(start).append("\\som]"));
  tree.Settings("[TELUMA]\r\nPGMTELUMA=@\\outra\r\n[X]\r\nA=@\\som\r\n");
  EXPECT_EQ(Setting(tree, "X", "A"), std::string("[").append(start).append("\\som]"));
  // A program folder that keeps expanding into itself is bounded; the program goes on.
  tree.Settings("[TELUMA]\r\nPGMTELUMA=c:\\p@\\q\r\n[X]\r\nA=@\\y\r\n");
  const std::string loop = Setting(tree, "X", "A");
  EXPECT_TRUE(loop.starts_with("[c:\\p")) << loop;
  EXPECT_LT(loop.size(), 4096u);
  // Values are at most 255 characters.
  tree.Settings(std::string("[X]\r\nA=").append(600, 'v').append("\r\n"));
  EXPECT_EQ(Setting(tree, "X", "A"), std::string("[").append(255, 'v').append("]"));
}

TEST(ReadSuiteSetting, TheStartFolderCopyWhenTheWindowsFolderHasNone) {
  Tree tree;
  tree.Settings("[X]\r\nA=janelas\r\n");
  tree.dir().Write("TELUMA.INI", "[X]\r\nA=inicio\r\n");
  EXPECT_EQ(Setting(tree, "X", "A"), "[janelas]");
  std::remove((tree.path() + "/windows/TELUMA.INI").c_str());
  EXPECT_EQ(Setting(tree, "X", "A"), "[inicio]");
}

TEST(SpeechStart, KeysOfTheSpeedStepAndTheirDefaults) {
  Tree tree;
  tree.dir().Write("qorbel/som/difones/VOZLONGA.IND", testkit::ReadFile(tree.path() + "/qorbel/som/difones/VOZ.IND"));
  tree.dir().Write("qorbel/som/difones/VOZLONGA.DIF", testkit::ReadFile(tree.path() + "/qorbel/som/difones/VOZ.DIF"));
  tree.Settings(
      "[TRADUTOR]\r\nVELOCIDADE=2\r\nDIRLETRAS=c:\\qorbel\\som\\letras\r\n"
      "[TELUMA]\r\nPGMTELUMA=d:\\suite\r\n"
      "[SINTETIZADOR]\r\nDIFONES2=VOZLONGA99\r\nPAUSAPONTO2=90\r\nPAUSAVIRG2=abc\r\n"
      "PAUSADOISPONTOS2=\r\nCORTAFALA2=sim\r\nRAPIDINHO2=nao\r\n"
      "DIFONES3=VOZ\r\nPAUSAPONTO3=33\r\nRAPIDINHO3=x\r\nCORTAFALA3=N\r\n");
  auto r = Results(tree.Probe({"start"}));
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0], "speed=2 db=VOZLONGA period=90 comma=150 colon=200 fast=0 shorten=1 synth=0");
  // Folders get their backslash.
  EXPECT_EQ(r[1], "phrases=c:\\frases\\ letters=c:\\qorbel\\som\\letras\\");

  // A speed step outside 1-5 in the file is step 3.
  for (const char* speed : {"9", "0", "-1", "abc"}) {
    std::string ini = testkit::ReadFile(tree.path() + "/windows/TELUMA.INI");
    const size_t at = ini.find("VELOCIDADE=");
    ini.replace(at, ini.find('\r', at) - at, std::string("VELOCIDADE=") + speed);
    tree.Settings(ini);
    r = Results(tree.Probe({"--phrases", "", "start"}));
    ASSERT_EQ(r.size(), 2u) << speed;
    EXPECT_EQ(r[0], "speed=3 db=VOZ period=33 comma=150 colon=200 fast=1 shorten=0 synth=0")
        << speed;
    EXPECT_EQ(r[1], "phrases= letters=c:\\qorbel\\som\\letras\\");
  }
}

TEST(SpeechStart, AnOutsideSynthesizerThatCannotOpenLeavesTheBuiltInVoice) {
  Tree tree;
  std::string ini = kSettings;
  ini.replace(ini.find("SAPI=N"), 6, "SAPI=Sim");
  tree.Settings(ini + "[SERVFALA]\r\nTIPOSAPI=5\r\nVELOCIDADE=15\r\n");
  // The voices of kind 5 cannot start without their data.
  tree.dir().Write("vazio/leia-me", "");
  const auto run = tree.Run(TELUMA_SAY, {"ola"}, {}, {{"ESPEAK_DATA_PATH", tree.path() + "/vazio"}});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.Named("SYNTH").empty());
  EXPECT_EQ(run.Named("DIPHONE").size(), 1u);
}

TEST(SpeechStart, AVoiceThatCannotStartWritesTwoLinesAndWaitsForEnter) {
  Tree tree;
  std::string ini = kSettings;
  ini.replace(ini.find("DIFONES2=VOZ"), 12, "DIFONES2=NADA");
  tree.Settings(ini);
  const auto run = tree.Probe({"say", "ola"}, "a b Enter x\n");
  EXPECT_EQ(run.exitCode, 1);  // the start failed
  EXPECT_EQ(run.Output().substr(0, 64).find("Erro de inicializa\xC3\xA7\xC3\xA3o: 1\r\n"), 0u)
      << run.Output();
  EXPECT_THAT(run.Output(), HasSubstr("\r\nBanco de dados de voz: NADA\r\n"));
  // The program ended after Enter: nothing was spoken, the probe never went on.
  EXPECT_TRUE(run.Named("DIPHONE").empty());
  EXPECT_TRUE(run.Named("RESULT").empty());
  const auto keys = run.Named("KEY");
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.back().data, "13");
}

TEST(RecordedPhrases, KeysCharactersAndMissingFiles) {
  Tree tree;
  auto run = tree.Probe({"phrase", "LUINIC", "_MENOS", "FALTA", "_FALTA"});
  const auto plays = run.Named("PLAY");
  ASSERT_GE(plays.size(), 2u);
  EXPECT_EQ(plays[0].data, "c:\\frases\\LUINIC.wav");
  EXPECT_EQ(plays[1].data, "c:\\qorbel\\som\\letras\\_MENOS.wav");
  EXPECT_TRUE(run.Named("IMAGE").empty());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_THAT(Heard(tree.Probe({"char", "65"})), ElementsAre("_65", "result:done"));
  EXPECT_THAT(Heard(tree.Probe({"char", "255"})), ElementsAre("_255", "result:done"));
  EXPECT_THAT(Results(tree.Probe({"exists", "LUINIC"})), ElementsAre("yes"));
  EXPECT_THAT(Results(tree.Probe({"exists", "_MENOS"})), ElementsAre("yes"));
  EXPECT_THAT(Results(tree.Probe({"exists", "MENOS"})), ElementsAre("no"));
  // Files that are not wave recordings play nothing and stop nothing.
  tree.Letter("_DEL", 0);
  tree.dir().Write("qorbel/som/letras/_de.wav", "texto qualquer");
  tree.dir().Write("qorbel/som/letras/_e.wav", Wave(300).substr(0, 50));
  run = tree.Probe({"phrase", "_DEL", "_de", "_e", "LUINIC"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.Named("IMAGE").empty());
  EXPECT_THAT(Results(run), ElementsAre("no key"));
  EXPECT_EQ(run.Named("PLAY").back().data, "c:\\frases\\LUINIC.wav");
}

TEST(RecordedPhrases, AWaitingKeyCutsThemAndStaysQueued) {
  Tree tree;
  tree.dir().Write("frases/LONGA.wav", Wave(11025 * 2));
  // Pressed before: nothing is heard, the key is still there afterwards.
  auto run = tree.Probe({"phrase", "--after", "100", "LONGA", "LUINIC"}, "+50 a\n");
  EXPECT_THAT(Results(run), ElementsAre("key waiting"));
  const auto* result = First(run, "RESULT");
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->ms, 100);
  // Pressed while a two-second phrase plays: it ends there, the next one is not heard.
  run = tree.Probe({"phrase", "LONGA", "LUINIC"}, "+500 a\n");
  EXPECT_THAT(Results(run), ElementsAre("key waiting"));
  result = First(run, "RESULT");
  ASSERT_NE(result, nullptr);
  EXPECT_GE(result->ms, 500);
  EXPECT_LT(result->ms, 600);
}

}  // namespace
}  // namespace conformance
