// The game run with the data tree the build made plays a recording for every message it says:
// no catalogue text falls back to the synthesizer.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/messages.hpp"
#include "platform/cp1252.hpp"
#include "testkit/testkit.hpp"

TEST(DataTreeGame, EveryMessageOfAWholeGameIsPlayedFromItsRecording) {
  testkit::TempDir work;
  testkit::RunOptions options;
  // Instructions, the table (browsed and left), a game on level 1 that falls freely to the
  // ground, a name if the table takes it, no second game.
  options.keys = "s\ns\nDown\nEsc\ns\n1\nEnter\nEnter\nn\n";
  options.workDir = work.path();
  options.env = {{"TELUMA_ROOT", testkit::DataRoot()},
                 {"TELUMA_WINDIR", testkit::DataRoot() + "/windows"},
                 {"TELUMA_SEED", "7"}};
  auto run = testkit::RunHeadless(testkit::BuildDir() + "/src/apps/moondrop", options);
  EXPECT_EQ(run.exitCode, 0) << run.stderrText;

  std::set<std::string> catalogue;
  for (const auto& entry : MessageCatalogue()) catalogue.insert(platform::Cp1252ToUtf8(entry.text));
  for (const auto& e : run.Named("SPEAK"))
    EXPECT_EQ(catalogue.count(testkit::Unquote(e.data)), 0u) << "spoken, not played: " << e.data;

  std::set<std::string> played;
  for (const auto& e : run.Named("PLAY")) {
    std::string file = e.data;
    played.insert(file.substr(file.find_last_of("\\/") + 1));
  }
  for (const char* key : {"LUINIC.wav", "LUBENVIN.wav", "LUINSTRT.wav", "LUCHIME.wav",
                          "FOGUETE.wav", "LUOLA.wav", "LUALTINI.wav", "EXPLODE.wav",
                          "LUTCHAU.wav"})
    EXPECT_EQ(played.count(key), 1u) << key;
}
