// The text rules of speaking: upper-casing and the run-by-run walk of SpeakText.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/text_case.hpp"
#include "speech/tlwin.hpp"

namespace {

bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128; }
bool IsWordChar(uint8_t c) { return IsLetter(c) || c == ' '; }
bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

// Length of the run at the front of text whose characters all satisfy keep.
template <typename Keep>
size_t RunLength(std::string_view text, Keep keep) {
  size_t n = 0;
  while (n < text.size() && keep(static_cast<uint8_t>(text[n]))) ++n;
  return n;
}

}  // namespace

std::string UpperText(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = static_cast<char>(platform::UpperCp1252(static_cast<uint8_t>(ch)));
  return out;
}

void SpeakRuns(std::string_view text, const SpeakActions& act) {
  std::string work(text);
  work += ' ';
  std::string_view rest = work;
  uint8_t previous = ' ';
  int repeats = 0;
  while (!act.stopped() && !rest.empty()) {
    if (act.keyWaiting()) {
      act.stop();
      return;
    }
    while (!rest.empty() && rest.front() == '0') {
      act.phrase("_zero");
      rest.remove_prefix(1);
    }
    if (rest.empty()) break;
    uint8_t c = static_cast<uint8_t>(rest.front());

    if (c >= '1' && c <= '9') {
      size_t n = RunLength(rest, [](uint8_t d) { return IsDigit(d) || d == '-'; });
      std::string_view run = rest.substr(0, n);
      if (run.find('-') != std::string_view::npos || run.size() >= 7) {
        act.spell(run);
      } else {
        int32_t value = 0;
        for (char d : run) value = value * 10 + (d - '0');
        act.number(value);
      }
      rest.remove_prefix(n);
      continue;
    }

    if (IsWordChar(c)) {
      size_t n = RunLength(rest, IsWordChar);
      std::string_view run = rest.substr(0, n);
      // "www" is spelled also with blanks around it (the text's own end is a blank, and the
      // blank after a comma starts the run).
      std::string_view word = run.substr(0, run.find_last_not_of(' ') + 1);
      word.remove_prefix(std::min(word.size(), word.find_first_not_of(' ')));
      if (UpperText(word) == "WWW")
        act.spell(word);
      else
        act.words(run);
      rest.remove_prefix(n);
      if (rest.size() >= 2 && rest[0] == '-' && IsLetter(static_cast<uint8_t>(rest[1])))
        rest.remove_prefix(1);
      continue;
    }

    // Any other character: repeats beyond the third become one click and are skipped.
    if (c == previous) {
      if (++repeats > 3) {
        act.click();
        c = ' ';
      }
    } else {
      repeats = 0;
      previous = c;
    }
    if (c == '-') {
      uint8_t next = rest.size() <= 2 ? ' ' : static_cast<uint8_t>(rest[1]);
      if (next == ' ' || next == '-')
        act.punctuation(rest);
      else if (IsDigit(next))
        act.phrase("_MENOS");
      else
        act.character('-');
    } else if (c == ':' && rest.starts_with("://")) {
      act.spell(rest.substr(0, 1));
    } else {
      switch (c) {
        case '(': case ')': case ',': case '.': case ':': case ';':
          act.punctuation(rest);
          break;
        case ' ': case '\t':
          break;
        default:
          if (!act.keyWaiting()) act.character(c);
      }
    }
    rest.remove_prefix(1);
  }
}
