// The database tool's pieces (unit names to phonemes, cutting, the written files) and the
// databases the build put into the data tree.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "make-diphones-units.hpp"
#include "synth/diphone.hpp"
#include "synth/diphone_store.hpp"
#include "synth/translator.hpp"
#include "testkit/testkit.hpp"

using ::testing::Contains;
using ::testing::Key;

namespace {

TEST(MakeDiphones, UnitNamesBecomePhonemes) {
  EXPECT_EQ(diphones::UnitPhonemes("$KA"), "k'a");
  EXPECT_EQ(diphones::UnitPhonemes("$TCHI"), "tS'i");
  EXPECT_EQ(diphones::UnitPhonemes("$NHA"), "n^'a");
  EXPECT_EQ(diphones::UnitPhonemes("$RRA"), "x'a");
  EXPECT_EQ(diphones::UnitPhonemes("$RA"), "*'a");
  EXPECT_EQ(diphones::UnitPhonemes("$KWA"), "kw'a");
  EXPECT_EQ(diphones::UnitPhonemes("$ECIRC"), "'e");
  EXPECT_EQ(diphones::UnitPhonemes("$DECIRC"), "d'e");
  EXPECT_EQ(diphones::UnitPhonemes("$E"), "'E");
  EXPECT_EQ(diphones::UnitPhonemes("$MATIL"), "m'&~");
  EXPECT_EQ(diphones::UnitPhonemes("$AWTIL"), "'&U~");
  EXPECT_EQ(diphones::UnitPhonemes("$AY"), "'aI");
  EXPECT_EQ(diphones::UnitPhonemes("$AR"), "'ar");
  EXPECT_EQ(diphones::UnitPhonemes("$R"), "r");  // alone: the end of a syllable
  EXPECT_EQ(diphones::UnitPhonemes("$S"), "s");
  EXPECT_EQ(diphones::UnitPhonemes("$NN"), "N");
  // Not sayable: recordings, unknown letters, a mark without a vowel.
  EXPECT_EQ(diphones::UnitPhonemes("_44"), "");
  EXPECT_EQ(diphones::UnitPhonemes("$K1"), "");
  EXPECT_EQ(diphones::UnitPhonemes("$KCIRC"), "");
  for (const std::string& base : diphones::BaseUnits())
    EXPECT_NE(diphones::UnitPhonemes(base), "") << base;
}

TEST(MakeDiphones, CutTrimsSilenceAndHalvesTheRate) {
  std::vector<int16_t> pcm(2000, 0);
  for (size_t i = 500; i < 1500; ++i)
    pcm[i] = static_cast<int16_t>(8000 * std::sin(static_cast<double>(i) * 0.3));
  diphones::Samples cut = diphones::CutAndConvert(pcm, 22050);
  // 1000 loud samples plus 3 ms on each side, at half the rate.
  EXPECT_NEAR(static_cast<double>(cut.size()), (1000 + 2 * 66) / 2.0, 3);
  EXPECT_NEAR(static_cast<uint8_t>(cut.front()), 128, 1);  // faded in
  EXPECT_NEAR(static_cast<uint8_t>(cut.back()), 128, 1);   // faded out
  int peak = 0;
  for (char c : cut) peak = std::max(peak, std::abs(static_cast<uint8_t>(c) - 128));
  EXPECT_GT(peak, 30);
  EXPECT_LT(peak, 55);
  EXPECT_TRUE(diphones::CutAndConvert(std::vector<int16_t>(500, 3), 22050).empty());
}

TEST(MakeDiphones, WrittenDatabaseIsSortedAndReadable) {
  testkit::TempDir dir;
  std::map<std::string, diphones::Samples> units = {
      {"$ZA", "zz"}, {"$A", "a"}, {"$AW", "aww"}, {"$\xC0", "x"}, {"_1", "1"},
      {"$TOOLONGNAME", "n"}};
  ASSERT_TRUE(diphones::WriteDatabase(dir.path(), "T", units));
  diphone::DiphoneIndex index;
  index.Assign(testkit::ReadFile(dir.path() + "/T.IND"));
  std::string data = testkit::ReadFile(dir.path() + "/T.DIF");
  ASSERT_EQ(index.Count(), 5u);  // the name over 8 characters is left out
  std::vector<std::string> names;
  for (size_t i = 0; i < index.Count(); ++i) names.push_back(index.At(i).name);
  EXPECT_THAT(names, ::testing::ElementsAre("$A", "$AW", "$ZA", "$\xC0", "_1"));
  for (const auto& [name, samples] : units) {
    diphone::IndexEntry entry;
    if (name.size() > 8) continue;
    ASSERT_TRUE(index.Find(name, entry)) << name;
    EXPECT_EQ(data.substr(entry.offset, entry.length), samples);
  }
}

TEST(MakeDiphones, InventoryFollowsTheRules) {
  testkit::TempDir dir;
  dir.Write("regras.rgr", "(C)=k|\r\n(A)=a|\r\n(S)=s|\r\n(T)=t|\r\n(R)=r|\r\n");
  dir.Write("portug.exc", "");
  ASSERT_TRUE(LoadTranslatorFiles(dir.path() + "/"));
  diphones::Inventory inventory;
  diphones::CollectUnits({"casa", "cas", "tra", "kkk"}, inventory);
  FreeRules();
  // casa is one token (the rules write no blanks); cas splits its coda; tra its cluster head.
  EXPECT_THAT(inventory.units, Contains(Key("$KASA")));
  EXPECT_THAT(inventory.units, Contains(Key("$KA")));
  EXPECT_THAT(inventory.units, Contains(Key("$S")));
  EXPECT_THAT(inventory.units, Contains(Key("$T")));
  EXPECT_THAT(inventory.units, Contains(Key("$RA")));
  EXPECT_EQ(inventory.units.size(), 5u);  // recordings (the spelled kkk) are not units
  EXPECT_EQ(inventory.texts, 4u);
}

// The databases of the data tree, when the build has made them.
TEST(MakeDiphones, BuiltDatabasesAreSortedAndComplete) {
  std::string folder = testkit::DataRoot() + "/qorbel/som/difones";
  int checked = 0;
  for (int step = 1; step <= 5; ++step) {
    std::string base = folder + "/DIFONES" + std::to_string(step);
    if (!std::filesystem::exists(base + ".IND")) continue;
    ++checked;
    diphone::DiphoneIndex index;
    index.Assign(testkit::ReadFile(base + ".IND"));
    auto dataSize = std::filesystem::file_size(base + ".DIF");
    ASSERT_GT(index.Count(), 100u);
    for (size_t i = 0; i < index.Count(); ++i) {
      diphone::IndexEntry entry = index.At(i);
      if (i > 0) {
        EXPECT_TRUE(diphone::UnitNameLess(index.At(i - 1).name, entry.name)) << i;
      }
      EXPECT_LE(entry.offset + entry.length, dataSize) << entry.name;
      EXPECT_GT(entry.length, 0u) << entry.name;
      EXPECT_LT(entry.length, 63956u) << entry.name;
    }
    for (const std::string& unit : diphones::BaseUnits()) {
      diphone::IndexEntry entry;
      EXPECT_TRUE(index.Find(unit, entry)) << unit << " in DIFONES" << step;
    }
  }
  if (checked == 0) GTEST_SKIP() << "no database built in " << folder;
}

}  // namespace
