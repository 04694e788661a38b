#include "testkit/lexicon.hpp"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "testkit/testkit.hpp"

namespace testkit {
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

}  // namespace

bool IsVowelPhoneme(const std::string& p) {
  static const std::vector<std::string> vowels = {"a",  "@",  "e",  "E",  "i",  "o", "O",
                                                  "u",  "an", "en", "in", "on", "un"};
  return std::find(vowels.begin(), vowels.end(), p) != vowels.end();
}

Transcription ParseTranscription(const std::vector<std::string>& marked) {
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
    if (p.empty()) continue;  // a mark alone goes with the next phoneme
    if (pending && t.stressNucleus < 0) t.stressNucleus = vowels;
    pending = false;
    if (IsVowelPhoneme(p)) ++vowels;
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

std::vector<LexiconLine> ReadLexiconLines(const std::string& path) {
  std::vector<LexiconLine> out;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    out.push_back({line.substr(0, tab), Split(line.substr(tab + 1), ' ')});
  }
  return out;
}

std::vector<LexiconEntry> ReadLexicon(const std::string& path) {
  std::vector<LexiconEntry> out;
  for (const auto& line : ReadLexiconLines(path))
    out.push_back({line.word, ParseTranscription(line.phonemes)});
  return out;
}

std::string LexiconPath(const std::string& name) {
  return SourceDir() + "/tests/tts_data/" + name + ".txt";
}

std::vector<std::vector<std::string>> KoralWords(const std::vector<LexiconEntry>& lexicon) {
  std::string text;
  for (const auto& e : lexicon) text += e.word + " , ";
  RunOptions o;
  o.args = {"--phonemes"};
  o.stdinText = text;
  auto lines = Split(RunHeadless(BuildDir() + "/src/apps/koral", o).stdoutText, '\n');
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

LexiconScore MeasureLexicon(const std::vector<LexiconEntry>& lexicon) {
  LexiconScore s;
  auto got = KoralWords(lexicon);
  if (got.size() != lexicon.size()) {
    s.report = "koral gave " + std::to_string(got.size()) + " words for " +
               std::to_string(lexicon.size());
    s.errors = s.reference = 1;
    return s;
  }
  std::ostringstream report;
  s.words = lexicon.size();
  for (size_t i = 0; i < lexicon.size(); ++i) {
    Transcription actual = ParseTranscription(got[i]);
    const Transcription& want = lexicon[i].expected;
    size_t d = EditDistance(want.phonemes, actual.phonemes);
    bool stress = actual.stressNucleus == want.stressNucleus;
    s.errors += d;
    s.reference += want.phonemes.size();
    s.stressOk += stress;
    s.wordsExact += d == 0 && stress;
    if (d != 0 || !stress) {
      report << "  " << lexicon[i].word << ":";
      for (const auto& p : got[i]) report << ' ' << p;
      report << (stress ? "" : " (acento)") << "\n";
    }
  }
  s.report = report.str();
  if (std::getenv("KORAL_LEXICON_REPORT")) std::cout << s.report;
  return s;
}

}  // namespace testkit
