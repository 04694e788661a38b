// Spoken numbers, time and date from recordings, run headless through the test program.
// Every number word has a recording of its own length, so the length of each played chunk
// tells which recordings went into it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <numeric>

#include "testkit/lineedit_tree.hpp"

using speechtest::Said;
using speechtest::SpeechTree;
using testing::ElementsAre;

namespace {

const char* const kWords[] = {
    "_zero",    "_um",      "_uma",     "_dois",    "_duas",    "_tres",    "_quatro",
    "_cinco",   "_seis",    "_sete",    "_oito",    "_nove",    "_dez",     "_onze",
    "_doze",    "_treze",   "_quatorz", "_quinze",  "_dezesse", "_dezeset", "_dezoito",
    "_dezenov", "_vinte",   "_trinta",  "_quarent", "_cinquen", "_sessent", "_setenta",
    "_oitenta", "_noventa", "_cem",     "_cento",   "_duzento", "_trezent", "_quatroc",
    "_quinhen", "_seiscen", "_setecen", "_oitocen", "_novecen", "_mil",     "_milhao",
    "_milhoes", "_bilhao",  "_bilhoes", "_trilhao", "_trilhoe", "_e"};

class NumberSpeech : public testing::Test {
 protected:
  NumberSpeech() {
    uint32_t size = 100;
    for (const char* w : kWords) {
      sizes_[w] = size;
      tree_.Wave(w, size);
      size += 10;
    }
    for (const char* p : {"_hora", "_horas", "_minuto", "_minutos", "_primeir", "_de",
                          "_Domingo", "_Segunda", "_Terca", "_Marco", "_Feverei",
                          "_Novembr"})
      tree_.Wave(p, 50);
  }

  // The chunk that the recordings of these words make together.
  std::string Chunk(std::initializer_list<const char*> words) {
    uint32_t total = 0;
    for (const char* w : words) total += sizes_.at(w);
    return "image:" + std::to_string(total);
  }

  std::vector<std::string> Say(std::vector<std::string> args) {
    testkit::RunResult run = tree_.Run(std::move(args));
    EXPECT_EQ(run.exitCode, 0) << run.stderrText;
    std::vector<std::string> said = Said(run);
    EXPECT_FALSE(said.empty());
    if (!said.empty()) {
      EXPECT_EQ(said.back(), "result:done");
      said.pop_back();
    }
    return said;
  }

  SpeechTree tree_;
  std::map<std::string, uint32_t> sizes_;
};

TEST_F(NumberSpeech, WordsChooseTheirRecordings) {
  EXPECT_THAT(Say({"number", "17"}), ElementsAre(Chunk({"_dezeset"})));
  EXPECT_THAT(Say({"number", "16"}), ElementsAre(Chunk({"_dezesse"})));
  EXPECT_THAT(Say({"number", "21", "fem"}), ElementsAre(Chunk({"_vinte", "_e", "_uma"})));
  EXPECT_THAT(Say({"number", "21"}), ElementsAre(Chunk({"_vinte", "_e", "_um"})));
  EXPECT_THAT(Say({"number", "12", "fem"}), ElementsAre(Chunk({"_doze"})));
  EXPECT_THAT(Say({"number", "2", "fem"}), ElementsAre(Chunk({"_duas"})));
  // Only the last word turns feminine.
  EXPECT_THAT(Say({"number", "1002", "fem"}), ElementsAre(Chunk({"_mil", "_e", "_duas"})));
  EXPECT_THAT(Say({"number", "3000000"}), ElementsAre(Chunk({"_tres", "_milhoes"})));
  EXPECT_THAT(Say({"number", "2147483647"}),
              ElementsAre(Chunk({"_dois", "_bilhoes", "_cento", "_e", "_quarent", "_e",
                                 "_sete", "_milhoes", "_quatroc", "_e", "_oitenta", "_e",
                                 "_tres", "_mil", "_e", "_seiscen", "_e", "_quarent", "_e",
                                 "_sete"})));
}

TEST_F(NumberSpeech, MissingAndBrokenRecordingsLeaveGaps) {
  tree_.Raw("_vinte", "");                            // empty
  tree_.Raw("_e", "RIFF");                            // shorter than a header
  tree_.Raw("_um", std::string(500, 'x'));            // not a wave file
  EXPECT_THAT(Say({"number", "21"}), ElementsAre());
  EXPECT_THAT(Say({"words", "vinte e um dois"}), ElementsAre(Chunk({"_dois"})));
  EXPECT_THAT(Say({"words", "palavra dois"}), ElementsAre(Chunk({"_dois"})));
}

TEST_F(NumberSpeech, LongNumbersPlayInChunks) {
  tree_.Wave("_dois", 15000);
  tree_.Wave("_mil", 20000);
  tree_.Wave("_e", 10);
  tree_.Wave("_tres", 5000);
  // 15000 + 20000 does not fit in 30000: the first chunk goes before "mil" is added.
  EXPECT_THAT(Say({"number", "2003"}), ElementsAre("image:15000", "image:25010"));

  // A recording longer than the whole buffer is played in full chunks, nothing lost.
  tree_.Wave("_cem", 70000);
  EXPECT_THAT(Say({"number", "100"}), ElementsAre("image:30000", "image:30000", "image:10000"));
  EXPECT_THAT(Say({"words", "tres cem tres"}),
              ElementsAre("image:5000", "image:30000", "image:30000", "image:15000"));
}

TEST_F(NumberSpeech, ClockTime) {
  EXPECT_THAT(Say({"time", "0", "0"}), ElementsAre(Chunk({"_zero"}), "_hora"));
  EXPECT_THAT(Say({"time", "1", "1"}),
              ElementsAre(Chunk({"_uma"}), "_hora", Chunk({"_um"}), "_minuto"));
  EXPECT_THAT(Say({"time", "22", "30"}), ElementsAre(Chunk({"_vinte", "_e", "_duas"}), "_horas",
                                                     Chunk({"_trinta"}), "_minutos"));
  EXPECT_THAT(Say({"time", "14", "0"}), ElementsAre(Chunk({"_quatorz"}), "_horas"));
}

TEST_F(NumberSpeech, CalendarDate) {
  EXPECT_THAT(Say({"date", "1", "3", "2010"}),
              ElementsAre("_Segunda", "_primeir", "_de", "_Marco", "_de",
                          Chunk({"_dois", "_mil"}), "_e", Chunk({"_dez"})));
  EXPECT_THAT(Say({"date", "29", "2", "2000"}),
              ElementsAre("_Terca", Chunk({"_vinte", "_e", "_nove"}), "_de", "_Feverei", "_de",
                          Chunk({"_dois", "_mil"})));
  // Before 2000 only the last two digits of the year are said.
  EXPECT_THAT(Say({"date", "15", "11", "1998"}),
              ElementsAre("_Domingo", Chunk({"_quinze"}), "_de", "_Novembr", "_de",
                          Chunk({"_noventa", "_e", "_oito"})));
}

}  // namespace
