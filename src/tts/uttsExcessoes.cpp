#include "tts/uttsExcessoes.hpp"

#include <algorithm>
#include <vector>

#include "tts/uttsTexto.hpp"

namespace teluma::tts {

namespace {

struct Exception {
  std::string word;
  std::string respelling;
};
std::vector<Exception> gExceptions;

const Exception* Find(const std::string& word) {
  auto it = std::lower_bound(gExceptions.begin(), gExceptions.end(), word,
                             [](const Exception& e, const std::string& w) { return e.word < w; });
  return it != gExceptions.end() && it->word == word ? &*it : nullptr;
}

}  // namespace

bool LoadExceptionList(const std::string& fileName) {
  gExceptions.clear();
  std::vector<std::string> lines;
  if (!ReadTextLines(fileName, lines)) return false;
  for (const auto& raw : lines) {
    if (gExceptions.size() >= kMaxExceptions) break;
    if (raw.empty()) continue;
    std::string line = AnsiUpper(std::string_view(raw).substr(0, kExceptionLineLimit));
    Exception e;
    size_t eq = line.find('=');
    // Without "=" the word stays empty, and an empty word is never looked up.
    if (eq != std::string::npos) {
      e.word = line.substr(0, eq);
      size_t bar = line.find('|', eq + 1);
      e.respelling = line.substr(eq + 1, bar == std::string::npos ? std::string::npos
                                                                   : bar - eq - 1);
    }
    gExceptions.push_back(std::move(e));
  }
  std::sort(gExceptions.begin(), gExceptions.end(),
            [](const Exception& a, const Exception& b) { return a.word < b.word; });
  return true;
}

void ApplyExceptions(std::string& word) {
  std::string stem = word, suffix;
  while (!stem.empty()) {
    if (const Exception* e = Find(stem)) {
      word = e->respelling + suffix;
      return;
    }
    char last = stem.back();
    if (last != 'S' && last != 'M') return;
    suffix.insert(suffix.begin(), last);
    stem.pop_back();
  }
}

void ClearExceptions() { gExceptions.clear(); }
size_t ExceptionCount() { return gExceptions.size(); }

}  // namespace teluma::tts
