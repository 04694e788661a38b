// Number words played from recordings, and the spoken time and date, through the probe: which
// recordings are joined into each sound image, the feminine last word, the 30,000-byte chunks.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <cstdlib>
#include <string>

#include "testkit/speech_tree.hpp"

namespace conformance {
namespace {

using ::testing::ElementsAre;

Lines Spoken(const Tree& tree, std::vector<std::string> args) {
  const auto run = tree.Probe(std::move(args));
  EXPECT_EQ(run.exitCode, 0) << run.stderrText;
  Lines said = Heard(run, false);
  if (!said.empty() && said.back() == "result:done") said.pop_back();
  return said;
}

TEST(SayWordsRecorded, WordFilesAndTheFeminineLastWord) {
  Tree tree;
  EXPECT_THAT(Spoken(tree, {"number", "17"}), ElementsAre(Joined({"_dezeset"})));
  EXPECT_THAT(Spoken(tree, {"number", "16"}), ElementsAre(Joined({"_dezesse"})));
  EXPECT_THAT(Spoken(tree, {"number", "21", "fem"}), ElementsAre(Joined({"_vinte", "_e", "_uma"})));
  EXPECT_THAT(Spoken(tree, {"number", "21"}), ElementsAre(Joined({"_vinte", "_e", "_um"})));
  EXPECT_THAT(Spoken(tree, {"number", "12", "fem"}), ElementsAre(Joined({"_doze"})));
  EXPECT_THAT(Spoken(tree, {"number", "2", "fem"}), ElementsAre(Joined({"_duas"})));
  // Only the last word turns feminine.
  EXPECT_THAT(Spoken(tree, {"number", "2001", "fem"}),
              ElementsAre(Joined({"_dois", "_mil", "_e", "_uma"})));
  EXPECT_THAT(Spoken(tree, {"number", "3000000"}), ElementsAre(Joined({"_tres", "_milhoes"})));
  EXPECT_THAT(Spoken(tree, {"number", "1000000"}), ElementsAre(Joined({"_um", "_milhao"})));
  EXPECT_THAT(Spoken(tree, {"number", "1000"}), ElementsAre(Joined({"_mil"})));
  EXPECT_THAT(Spoken(tree, {"number", "1200300"}),
              ElementsAre(Joined({"_um", "_milhao", "_duzento", "_mil", "_e", "_trezent"})));
  EXPECT_THAT(Spoken(tree, {"number", "2147483647"}),
              ElementsAre(Joined({"_dois", "_bilhoes", "_cento", "_e", "_quarent", "_e", "_sete",
                                  "_milhoes", "_quatroc", "_e", "_oitenta", "_e", "_tres",
                                  "_mil", "_e", "_seiscen", "_e", "_quarent", "_e", "_sete"})));
  // Words are cut to eight characters with their tildes dropped; blanks may be repeated.
  EXPECT_THAT(Spoken(tree, {"words", "  trilh\xC3\xB5" "es   quatrocentos "}),
              ElementsAre(Joined({"_trilhoe", "_quatroc"})));
  // A missing word leaves a gap.
  std::remove((tree.path() + "/qorbel/som/letras/_e.wav").c_str());
  EXPECT_THAT(Spoken(tree, {"number", "21"}), ElementsAre(Joined({"_vinte", "_um"})));
}

TEST(SayWordsRecorded, ThirtyThousandByteChunks) {
  Tree tree;
  tree.Letter("_mil", 20000);
  tree.Letter("_quinhen", 12000);
  tree.Letter("_e", 500);
  // 20000 + 500 fit; the next 12000 would not: the buffer plays first.
  EXPECT_THAT(Spoken(tree, {"number", "1500"}), ElementsAre("img:20500", "img:12000"));
  // Exactly 30000 fits in one chunk.
  tree.Letter("_quinhen", 9500);
  EXPECT_THAT(Spoken(tree, {"number", "1500"}), ElementsAre("img:30000"));
  // A recording longer than the whole buffer never overruns it.
  tree.Letter("_cem", 45000);
  const Lines said = Spoken(tree, {"number", "100"});
  ASSERT_FALSE(said.empty());
  long total = 0;
  for (const auto& s : said) {
    ASSERT_TRUE(s.starts_with("img:")) << s;
    const long n = std::atol(s.c_str() + 4);
    EXPECT_LE(n, 30000);
    total += n;
  }
  EXPECT_TRUE(total == 30000 || total == 45000) << total;
  // Chunks play one after the other.
  const auto run = tree.Probe({"number", "1500"});
  const auto images = run.Named("IMAGE");
  ASSERT_EQ(images.size(), 1u);
  tree.Letter("_quinhen", 12000);
  const auto two = tree.Probe({"number", "1500"}).Named("IMAGE");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_GE(two[1].ms - two[0].ms, 20500 * 1000 / 11025);
}

TEST(SpeakTime, HoursAndMinutes) {
  Tree tree;
  EXPECT_THAT(Spoken(tree, {"time", "0", "0"}), ElementsAre(Joined({"_zero"}), "_hora"));
  EXPECT_THAT(Spoken(tree, {"time", "1", "1"}),
              ElementsAre(Joined({"_uma"}), "_hora", Joined({"_um"}), "_minuto"));
  EXPECT_THAT(Spoken(tree, {"time", "22", "30"}),
              ElementsAre(Joined({"_vinte", "_e", "_duas"}), "_horas", Joined({"_trinta"}),
                          "_minutos"));
  EXPECT_THAT(Spoken(tree, {"time", "14", "0"}), ElementsAre(Joined({"_quatorz"}), "_horas"));
  EXPECT_THAT(Spoken(tree, {"time", "2", "2"}),
              ElementsAre(Joined({"_duas"}), "_horas", Joined({"_dois"}), "_minutos"));
  EXPECT_THAT(Spoken(tree, {"time", "21", "21"}),
              ElementsAre(Joined({"_vinte", "_e", "_uma"}), "_horas",
                          Joined({"_vinte", "_e", "_um"}), "_minutos"));
}

TEST(SpeakDate, WeekdayDayMonthAndYear) {
  Tree tree;
  // 1 March 2010 was a Monday.
  EXPECT_THAT(Spoken(tree, {"date", "1", "3", "2010"}),
              ElementsAre("_Segunda", "_primeir", "_de", "_Marco", "_de",
                          Joined({"_dois", "_mil"}), "_e", Joined({"_dez"})));
  // 15 September 2000, a Friday: no "_e" and no rest.
  EXPECT_THAT(Spoken(tree, {"date", "15", "9", "2000"}),
              ElementsAre("_Sexta", Joined({"_quinze"}), "_de", "_Setembr", "_de",
                          Joined({"_dois", "_mil"})));
  // 2 November 2009, a Monday.
  EXPECT_THAT(Spoken(tree, {"date", "2", "11", "2009"}),
              ElementsAre("_Segunda", Joined({"_dois"}), "_de", "_Novembr", "_de",
                          Joined({"_dois", "_mil"}), "_e", Joined({"_nove"})));
  // 25 December 1998, a Friday: only the last two digits of the year.
  EXPECT_THAT(Spoken(tree, {"date", "25", "12", "1998"}),
              ElementsAre("_Sexta", Joined({"_vinte", "_e", "_cinco"}), "_de", "_Dezembr", "_de",
                          Joined({"_noventa", "_e", "_oito"})));
  // 29 February 2004, a Sunday; 31 January 2015, a Saturday.
  EXPECT_EQ(Spoken(tree, {"date", "29", "2", "2004"}).at(0), "_Domingo");
  EXPECT_EQ(Spoken(tree, {"date", "31", "1", "2015"}).at(0), "_Sabado");
  EXPECT_EQ(Spoken(tree, {"date", "31", "1", "2015"}).at(3), "_Janeiro");
  EXPECT_EQ(Spoken(tree, {"date", "2", "2", "2016"}).at(3), "_Feverei");
}

}  // namespace
}  // namespace conformance
