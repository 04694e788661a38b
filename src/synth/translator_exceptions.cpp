// The exception list: words whose pronunciation the rules would get wrong.
#include <algorithm>
#include <fstream>
#include <utility>

#include "platform/paths.hpp"
#include "synth/translator.hpp"

namespace teluma::synth {

namespace translator {
namespace {

std::vector<std::pair<std::string, std::string>> exceptions;

// Reads one line of at most kMaxExceptionLine characters; the rest of a longer line is
// dropped, as the fixed line buffer of the file format would.
bool ReadLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > kMaxExceptionLine) line.resize(kMaxExceptionLine);
  return true;
}

const std::string* Find(std::string_view word) {
  size_t low = 0, high = exceptions.size();
  while (low < high) {
    size_t mid = low + (high - low) / 2;
    int order = exceptions[mid].first.compare(word);
    if (order == 0) return &exceptions[mid].second;
    if (order < 0)
      low = mid + 1;
    else
      high = mid;
  }
  return nullptr;
}

}  // namespace

size_t ExceptionCount() { return exceptions.size(); }

// The stem searched is the word up to cut and the suffix the rest, so a long run of "s" and
// "m" is stripped without copying the word again for every letter.
std::string LookUpException(const std::string& word) {
  const std::string_view whole = word;
  size_t cut = whole.size();
  while (true) {
    if (const std::string* found = Find(whole.substr(0, cut)))
      return *found + word.substr(cut);
    if (cut == 0 || (whole[cut - 1] != 's' && whole[cut - 1] != 'm')) break;
    if (--cut == 0) break;
  }
  return word;
}

}  // namespace translator

using namespace translator;

bool LoadExceptions(std::string_view fileName) {
  std::ifstream in(platform::MapPath(fileName), std::ios::binary);
  if (!in) return false;
  exceptions.clear();
  std::string line;
  while (exceptions.size() < kMaxExceptions && ReadLine(in, line)) {
    if (line.empty()) continue;
    size_t eq = line.find('=');
    std::string word = line.substr(0, eq);
    std::string pronunciation;
    if (eq != std::string::npos) {
      pronunciation = line.substr(eq + 1);
      size_t bar = pronunciation.find('|');
      if (bar != std::string::npos) pronunciation.resize(bar);
    }
    exceptions.emplace_back(std::move(word), std::move(pronunciation));
  }
  // Byte order, as the bisection compares.
  std::stable_sort(exceptions.begin(), exceptions.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return true;
}

}  // namespace teluma::synth
