// Runs every word of the Brazilian Portuguese word list through the translator: speed, and
// how many words give letters outside the phonetic alphabet or fall back to spelling.
// Options (before the benchmark's own): --words FILE (default /usr/share/dict/brazilian),
// --rules FOLDER (default the rule sources), --tokens FILE (writes every syllable token with
// its count, most frequent first), --show N (examples of words outside the alphabet).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/cp1252.hpp"
#include "synth/translator.hpp"

using namespace teluma;
using namespace teluma::synth;

namespace {

std::vector<std::string> words;

bool InAlphabet(char c) {
  return std::strchr("[]/ abcdefghijklmnoprstuvwxyzAEIOU^~", c) != nullptr && c != '\0';
}

// The syllable tokens as the synthesizer's token reader takes them.
void CollectTokens(const std::string& phonetic, std::map<std::string, long>& counts) {
  std::string token;
  auto flush = [&] {
    if (!token.empty()) ++counts[token];
    token.clear();
  };
  for (size_t i = 0; i < phonetic.size(); ++i) {
    char c = phonetic[i];
    if (c == '[' || c == '/') continue;
    if (c == ' ' || c == ']') {
      flush();
      continue;
    }
    token += c;
    if (c == '_' && i + 1 < phonetic.size()) token += phonetic[++i];
  }
  flush();
}

void Report(const std::string& tokensFile, int show) {
  long outside = 0, spelled = 0, letters = 0;
  std::map<char, long> strange;
  std::map<std::string, long> tokens;
  std::vector<std::string> examples;
  for (const std::string& word : words) {
    const std::string phonetic = TranslateText(word);
    letters += static_cast<long>(word.size());
    bool bad = false;
    for (char c : phonetic)
      if (!InAlphabet(c)) {
        bad = true;
        ++strange[c];
      }
    if (bad) {
      ++outside;
      if (phonetic.find("[ /_") != std::string::npos) ++spelled;
      if (static_cast<int>(examples.size()) < show)
        examples.push_back(platform::Cp1252ToUtf8(word) + " -> " +
                           platform::Cp1252ToUtf8(phonetic));
    }
    if (!tokensFile.empty()) CollectTokens(phonetic, tokens);
  }
  std::cout << "words: " << words.size() << " (" << letters << " characters)\n"
            << "words with letters outside the alphabet: " << outside << " ("
            << (words.empty() ? 0.0 : 100.0 * outside / words.size()) << "%), of which with "
            << "spelled or default units: " << spelled << "\n";
  for (const auto& [c, n] : strange)
    std::cout << "  character " << static_cast<int>(static_cast<unsigned char>(c)) << " '"
              << platform::Cp1252ToUtf8(std::string(1, c)) << "': " << n << "\n";
  for (const std::string& e : examples) std::cout << "  " << e << "\n";
  if (!tokensFile.empty()) {
    std::vector<std::pair<long, std::string>> sorted;
    for (const auto& [t, n] : tokens) sorted.emplace_back(n, t);
    std::sort(sorted.rbegin(), sorted.rend());
    std::ofstream out(tokensFile);
    for (const auto& [n, t] : sorted) out << n << '\t' << platform::Cp1252ToUtf8(t) << '\n';
    std::cout << "distinct tokens: " << sorted.size() << " (written to " << tokensFile << ")\n";
  }
}

void TranslateWordList(benchmark::State& state) {
  long characters = 0;
  for (auto _ : state) {
    for (const std::string& word : words) {
      std::string phonetic = TranslateText(word);
      benchmark::DoNotOptimize(phonetic);
      characters += static_cast<long>(word.size());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(words.size()));
  state.SetBytesProcessed(characters);
  state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(TranslateWordList)->Unit(benchmark::kMillisecond);

void TranslateSentence(benchmark::State& state) {
  const std::string text = platform::Utf8ToCp1252(
      "A nave saiu da órbita lunar. Você não conseguirá voltar, está irremediavelmente "
      "perdido no espaço.");
  for (auto _ : state) benchmark::DoNotOptimize(TranslateText(text));
  state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}
BENCHMARK(TranslateSentence);

// Growth with the length of the text: one word of n vowels (each letter's rules look at the
// whole run of vowels around it) and n characters of ordinary text (words of the list between
// blanks and punctuation). The time per character stays flat from 10,000 to 1,000,000.
void TranslateOneLongWord(benchmark::State& state) {
  const std::string word(static_cast<size_t>(state.range(0)), 'a');
  for (auto _ : state) benchmark::DoNotOptimize(TranslateText(word));
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(TranslateOneLongWord)
    ->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

std::string OrdinaryText(size_t length) {
  static const char* const kGaps[] = {" ", " ", " ", " ", ", ", ". ", "; "};
  std::mt19937 random(13);
  std::string text;
  while (text.size() < length) {
    text += words[random() % words.size()];
    text += kGaps[random() % std::size(kGaps)];
  }
  text.resize(length);
  return text;
}

void TranslateOrdinaryText(benchmark::State& state) {
  const std::string text = OrdinaryText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(TranslateText(text));
  state.SetBytesProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(TranslateOrdinaryText)
    ->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

int main(int argc, char** argv) {
  std::string wordFile = "/usr/share/dict/brazilian", rules = TRANSLATOR_DATA_DIR, tokens;
  int show = 20;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--words" && i + 1 < argc) wordFile = argv[++i];
    else if (a == "--rules" && i + 1 < argc) rules = argv[++i];
    else if (a == "--tokens" && i + 1 < argc) tokens = argv[++i];
    else if (a == "--show" && i + 1 < argc) show = std::atoi(argv[++i]);
    else rest.push_back(argv[i]);
  }
  if (!LoadTranslatorFiles(rules + "/")) {
    std::cerr << "translator_bench: cannot load the rules of " << rules << "\n";
    return 1;
  }
  std::ifstream in(wordFile);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) words.push_back(platform::Utf8ToCp1252(line));
  if (words.empty()) {
    std::cerr << "translator_bench: no words in " << wordFile << "\n";
    return 1;
  }
  Report(tokens, show);
  int n = static_cast<int>(rest.size());
  benchmark::Initialize(&n, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
