// The shipped rule files measured on words that were never used to tune them: phoneme error
// rate (edit distance over reference phonemes) and the share of words with the right stress;
// and the rule files checked for entries the loader would silently mangle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "testkit/testkit.hpp"

namespace {

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : text) {
    if (c == sep) {
      out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

const std::set<std::string>& VowelPhonemes() {
  static const std::set<std::string> v = {"a", "@", "e", "E", "i", "o", "O",
                                          "u", "an", "en", "in", "on", "un"};
  return v;
}

const std::set<std::string>& AllPhonemes() {
  static const std::set<std::string> all = [] {
    std::set<std::string> s = VowelPhonemes();
    for (const char* p : {"y", "w", "yn", "wn", "p", "b", "t", "d", "k", "g", "tS", "dZ", "f",
                          "v", "s", "z", "S", "Z", "m", "n", "J", "l", "L", "r", "R", "r2", "s2"})
      s.insert(p);
    return s;
  }();
  return all;
}

struct Transcription {
  std::vector<std::string> phonemes;  // without marks
  int stressNucleus = -1;             // vowels before the marked phoneme; -1 without a mark
  int marks = 0;
};

Transcription Parse(const std::vector<std::string>& marked) {
  Transcription t;
  int vowels = 0;
  bool pending = false;
  for (std::string p : marked) {
    // ">" marks the stress; "¨" (C2 A8 in UTF-8) only ends a lengthening.
    while (!p.empty() && (p[0] == '>' || p.rfind("\xC2\xA8", 0) == 0)) {
      if (p[0] == '>') {
        pending = true;
        ++t.marks;
      }
      p.erase(0, p[0] == '>' ? 1 : 2);
    }
    if (p.empty()) continue;
    if (pending && t.stressNucleus < 0) t.stressNucleus = vowels;
    pending = false;
    if (VowelPhonemes().count(p)) ++vowels;
    t.phonemes.push_back(p);
  }
  return t;
}

size_t EditDistance(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  std::vector<size_t> d(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) d[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diag = d[0];
    d[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t up = d[j];
      d[j] = std::min({d[j] + 1, d[j - 1] + 1, diag + (a[i - 1] != b[j - 1] ? 1u : 0u)});
      diag = up;
    }
  }
  return d[b.size()];
}

struct Entry {
  std::string word;
  Transcription expected;
};

std::vector<Entry> ReadLexicon() {
  std::vector<Entry> out;
  std::ifstream in(testkit::SourceDir() + "/tests/tts_data/lexicon.txt");
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    out.push_back({line.substr(0, tab), Parse(Split(line.substr(tab + 1), ' '))});
  }
  return out;
}

// Words of a lexicon file, lower-cased ASCII (accented letters are compared as written).
std::set<std::string> WordsOf(const std::string& path, char sep) {
  std::set<std::string> words;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::string w = line.substr(0, line.find(sep));
    for (char& c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    words.insert(w);
  }
  return words;
}

// Phoneme lines koral gives for each word in one run; the commas between the words keep the
// linking of a final r or s away from the next word.
std::vector<std::vector<std::string>> KoralWords(const std::vector<Entry>& lexicon) {
  std::string text;
  for (const auto& e : lexicon) text += e.word + " , ";
  testkit::RunOptions o;
  o.args = {"--phonemes"};
  o.stdinText = text;
  auto lines = Split(testkit::RunHeadless(testkit::BuildDir() + "/src/apps/koral", o).stdoutText,
                     '\n');
  std::vector<std::vector<std::string>> words;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    if (l.size() < 6 || l[0] != ';' || l[4] != '|' || l[5] == ',') continue;
    std::vector<std::string> phonemes;
    for (++i; i < lines.size() && !lines[i].empty(); ++i) phonemes.push_back(lines[i]);
    words.push_back(phonemes);
  }
  return words;
}

// Size of a UTF-8 text in characters (the rule file is converted to one byte per letter).
size_t Letters(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace

// The loader silently cuts contexts and matches to five letters and the matcher uses eleven
// output characters: a longer field loses its end anchor and the rule fires inside other words.
TEST(ShippedRules, EveryFieldFitsWhatTheLoaderKeeps) {
  std::ifstream in(testkit::SourceDir() + "/data/koraltts/portug.nrl");
  ASSERT_TRUE(in.good());
  int rules = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == ';') continue;
    auto open = line.find('('), close = line.find(')'), eq = line.find('=');
    ASSERT_TRUE(open != std::string::npos && close > open && eq > close) << line;
    std::string output = line.substr(eq + 1, line.find('|', eq) - eq - 1);
    EXPECT_LE(Letters(line.substr(0, open)), 5u) << line;
    EXPECT_GE(Letters(line.substr(open + 1, close - open - 1)), 1u) << line;
    EXPECT_LE(Letters(line.substr(open + 1, close - open - 1)), 5u) << line;
    EXPECT_LE(Letters(line.substr(close + 1, eq - close - 1)), 5u) << line;
    EXPECT_LE(Letters(output), 11u) << line;
    ++rules;
  }
  EXPECT_GT(rules, 200);
}

// The exception table is binary-searched after sorting, so a word listed twice with two
// different respellings would be read one way or the other by chance.
TEST(ShippedRules, NoExceptionIsListedWithTwoRespellings) {
  std::ifstream in(testkit::SourceDir() + "/data/koraltts/portug.exc");
  ASSERT_TRUE(in.good());
  std::map<std::string, std::string> seen;
  for (std::string line; std::getline(in, line);) {
    auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string word = line.substr(0, eq);
    std::string respelling = line.substr(eq + 1, line.find('|', eq) - eq - 1);
    auto [it, added] = seen.emplace(word, respelling);
    EXPECT_TRUE(added || it->second == respelling) << word << ": " << it->second << " / "
                                                   << respelling;
  }
  EXPECT_GT(seen.size(), 1000u);
}

// A typo in the reference would be counted against the rules; a word shared with the tuning
// lexicons would make the figure look better than it is on unseen text.
TEST(HeldOutLexicon, ReferenceIsWellFormedAndUnseen) {
  auto lexicon = ReadLexicon();
  ASSERT_GE(lexicon.size(), 800u);
  auto tuned = WordsOf(testkit::SourceDir() + "/tests/tts/lexicon.txt", '|');
  auto conformance = WordsOf(testkit::SourceDir() + "/tests/tts_conformance/lexicon.txt", '\t');
  std::set<std::string> seen;
  for (const auto& e : lexicon) {
    std::string lower = e.word;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(seen.insert(lower).second) << "repetida: " << e.word;
    EXPECT_EQ(tuned.count(lower), 0u) << "também no léxico de ajuste: " << e.word;
    EXPECT_EQ(conformance.count(lower), 0u) << "também no léxico de conformidade: " << e.word;
    for (const auto& p : e.expected.phonemes)
      EXPECT_TRUE(AllPhonemes().count(p)) << e.word << ": fonema desconhecido " << p;
    EXPECT_LE(e.expected.marks, 1) << e.word;
    // Only short words and the few unstressed function words go without a mark.
    if (e.expected.marks == 0) {
      EXPECT_LE(e.word.size(), 3u) << e.word;
    }
  }
}

TEST(HeldOutLexicon, PhonemeErrorAndStressOnUnseenWords) {
  auto lexicon = ReadLexicon();
  auto got = KoralWords(lexicon);
  ASSERT_EQ(got.size(), lexicon.size());
  size_t errors = 0, reference = 0, stressOk = 0;
  std::ostringstream report;
  for (size_t i = 0; i < lexicon.size(); ++i) {
    Transcription actual = Parse(got[i]);
    const Transcription& want = lexicon[i].expected;
    size_t d = EditDistance(want.phonemes, actual.phonemes);
    errors += d;
    reference += want.phonemes.size();
    bool stress = actual.stressNucleus == want.stressNucleus;
    stressOk += stress;
    if (d != 0 || !stress) {
      std::string a;
      for (const auto& p : got[i]) a += p + " ";
      report << "  " << lexicon[i].word << ": " << a << (stress ? "" : "(acento)") << "\n";
    }
  }
  double per = 100.0 * errors / reference;
  double stressRate = 100.0 * stressOk / lexicon.size();
  std::cout << "unseen lexicon: " << lexicon.size() << " words, phoneme error rate " << per
            << " %, stress " << stressRate << " %\n";
  if (std::getenv("KORAL_LEXICON_REPORT")) std::cout << report.str();
  EXPECT_LE(per, 1.0) << report.str();
  EXPECT_GE(stressRate, 99.5) << report.str();
}
