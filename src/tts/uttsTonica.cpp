#include "tts/uttsTonica.hpp"

#include <string>

#include "tts/uttsTexto.hpp"

namespace teluma::tts {

namespace {

bool IsAccented(unsigned char c) {
  switch (c) {
    case 0xE0: case 0xE1: case 0xE2: case 0xE3: case 0xE9: case 0xEA:
    case 0xED: case 0xF3: case 0xF4: case 0xF5: case 0xFA:
      return true;
    default:
      return false;
  }
}

bool IsStressVowel(unsigned char c) {
  switch (c) {
    case 'a': case 'e': case 'i': case 'o': case 'u': case 'w': case 'y': case 0xFC:
      return true;
    default:
      return false;
  }
}

bool IsAEO(unsigned char c) { return c == 'a' || c == 'e' || c == 'o'; }
bool IsGQ(unsigned char c) { return c == 'g' || c == 'q'; }

enum class State { S0, S1, S2, S3, S4, S5, S10, S20, S21, S30, S40 };

}  // namespace

int FindStress(std::string_view upper) {
  const std::string w = AnsiLower(upper);
  const int n = static_cast<int>(w.size());
  bool anyStressVowel = false;
  for (int p = n; p >= 1; --p) {
    auto c = static_cast<unsigned char>(w[p - 1]);
    if (IsAccented(c)) return p;
    anyStressVowel = anyStressVowel || IsStressVowel(c);
  }
  if (!anyStressVowel) return 0;

  State s = State::S0;
  int r = 0;
  for (int p = n; p >= 1; --p) {
    auto c = static_cast<unsigned char>(w[p - 1]);
    switch (s) {
      case State::S0:
        if (IsAEO(c)) { r = p; s = State::S1; }
        else if (c == 'u') { r = p; s = State::S10; }
        else if (c == 'i') { r = p; s = State::S20; }
        else if (c == 's') {}
        else if (c == 'm') s = State::S40;
        else s = State::S30;
        break;
      case State::S1:
        if (c == 'u') s = State::S4;
        else if (IsStressVowel(c)) return p;
        else s = State::S2;
        break;
      case State::S2:
        if (IsAEO(c)) return p;
        if (c == 'i' || c == 'u') { r = p; s = State::S3; }
        break;
      case State::S3:
        if (IsAEO(c)) return p;
        if (c == 'u') s = State::S5;
        else return r;
        break;
      case State::S4:
        if (IsGQ(c)) { r = p + 2; s = State::S2; }
        else return p + 1;
        break;
      case State::S5:
        return IsGQ(c) ? p + 2 : p + 1;
      case State::S10:
        return (IsAEO(c) || c == 'i') ? p : r;
      case State::S20:
        if (IsAEO(c)) r = p;
        else if (c == 'u') s = State::S21;
        else return r;
        break;
      case State::S21:
        return IsGQ(c) ? p + 2 : p + 1;
      case State::S30:
        if (IsStressVowel(c)) return p;
        break;
      case State::S40:
        if (c == 'i' || c == 'o' || c == 'u') return p;
        if (c == 'a' || c == 'e') { r = p; s = State::S1; }
        else s = State::S0;
        break;
    }
  }
  return r;
}

}  // namespace teluma::tts
