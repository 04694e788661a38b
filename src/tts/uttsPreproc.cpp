#include "tts/uttsPreproc.hpp"

#include <array>
#include <utility>
#include <vector>

#include "platform/cp1252.hpp"
#include "platform/paths.hpp"
#include "tts/uttsTexto.hpp"

namespace teluma::tts {

namespace {

using Table = std::vector<std::string>;

Table Convert(std::initializer_list<const char*> utf8) {
  Table t;
  for (const char* s : utf8) t.push_back(platform::Utf8ToCp1252(s));
  return t;
}

const Table& Units() {
  static const Table t = Convert({"zero", "um", "dois", "três", "quatro", "cinco", "seis",
                                  "sete", "oito", "nove"});
  return t;
}
const Table& Teens() {
  static const Table t = Convert({"dez", "onze", "doze", "treze", "quatorze", "quinze",
                                  "dezesseis", "dezessete", "dezoito", "dezenove"});
  return t;
}
const Table& Tens() {
  static const Table t = Convert({"", "", "vinte", "trinta", "quarenta", "cinqüenta",
                                  "sessenta", "setenta", "oitenta", "noventa"});
  return t;
}
const Table& Hundreds() {
  static const Table t =
      Convert({"", "cento", "duzentos", "trezentos", "quatrocentos", "quinhentos",
               "seiscentos", "setecentos", "oitocentos", "novecentos"});
  return t;
}
const Table& OrdinalUnits() {
  static const Table t = Convert({"", "primeiro", "segundo", "terceiro", "quarto", "quinto",
                                  "sexto", "sétimo", "oitavo", "nono"});
  return t;
}
const Table& OrdinalTens() {
  static const Table t =
      Convert({"", "décimo", "vigésimo", "trigésimo", "quadragésimo", "quinquagésimo",
               "sexagésimo", "septuagésimo", "octagésimo", "nonagésimo"});
  return t;
}
const Table& OrdinalHundreds() {
  static const Table t =
      Convert({"", "centésimo", "ducentésimo", "tricentésimo", "quadrigentésimo",
               "quingentésimo", "seiscentésimo", "septigentésimo", "octigentésimo",
               "nongentésimo"});
  return t;
}

// Names of codes 32-126.
const Table& NamesA() {
  static const Table t = Convert({
      "espaço", "exclamação", "aspas", "sustenido", "cifrão", "porcento", "é comercial",
      "apóstrofo", "abre parênteses", "fecha parênteses", "asterisco", "mais", "vírgula",
      "traço", "ponto", "barra", "zéro", "um", "dois", "três", "quatro", "cinco", "seis",
      "séte", "oito", "nóve", "dois pontos", "ponto e vírgula", "menor que", "igual",
      "maior que", "interrogação", "arrôba", "a", "bê", " sê", " dê", "é", "éfe", "jê", "agá",
      "i", "jóta", "cá", "éle", "ême", "êne", "ó", "pê", "quê", "érre", "ésse", "tê", "u", "vê",
      "dábliu", "xis", "ípsilon", "zê", "abre colchete", "barra invertida", "fecha colchete",
      "circunflexo", "sublinhado", "crase", "a", "bê", " sê", " dê", "é", "éfe", "jê", "agá",
      "i", "jota", "cá", "éle", "ême", "ene", "ó", "pê", "quê", "érre", "ésse", "tê", "u", "vê",
      "dábliu", "xis", "ípsilon", "zê", "abre chave", "barra vertical", "fecha chave", "til"});
  return t;
}
// Names of codes 161-191.
const Table& NamesC() {
  static const Table t = Convert({
      "exclamação reversa", "centavos de dólar", "libras", "símbolo de moeda", "iene",
      "barra interrompida", "parágrafo", "trema", "copyright", "ordinal feminino",
      "Aspas esquerdas", "negação", "hífen", "Marca registrada", "mácron", "grau",
      "mais ou menos", "elevado ao quadrado", "elevado ao cubo", "acento agudo", "mi", "pi",
      "ponto no meio", "cedilha", "expoente um", "ordinal masculino", "aspas direitas",
      "um quarto", "um meio", "três quartos", "interrogação reversa"});
  return t;
}
// Names of codes 192-220.
const Table& NamesB() {
  static const Table t = Convert({
      "A grave", "A agudo", "A circunflexo", "A com til", "A com trema", "A bola", "A É",
      "Cê cedilha", "É grave", "É agudo", "É circunflexo", "É com trema", "I grave", "I agudo",
      "I circunflexo", "I com trema", "Dê cortado", "N com til", "Ó grave", "Ó agudo",
      "Ó circunflexo", "Ó com til", "Ó tremado", "vezes", "Ó cortado", "U grave", "U agudo",
      "U circunflexo", "U com trema"});
  return t;
}

const std::string& ScaleWord(int group, bool singular) {
  static const std::array<std::pair<std::string, std::string>, 4> scale = {{
      {platform::Utf8ToCp1252("trilhão "), platform::Utf8ToCp1252("trilhões ")},
      {platform::Utf8ToCp1252("bilhão "), platform::Utf8ToCp1252("bilhões ")},
      {platform::Utf8ToCp1252("milhão "), platform::Utf8ToCp1252("milhões ")},
      {"mil ", "mil "},
  }};
  return singular ? scale[group].first : scale[group].second;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Character at 1-based pos, or 0 outside the text.
unsigned char At(std::string_view text, size_t pos) {
  return pos >= 1 && pos <= text.size() ? static_cast<unsigned char>(text[pos - 1]) : 0;
}

bool InSet(unsigned char c, std::string_view upperAccents) {
  for (char a : upperAccents) {
    auto u = static_cast<unsigned char>(a);
    if (c == u || c == u + 32) return true;
  }
  return false;
}

struct Abbreviation {
  std::string abbreviation;  // upper case
  std::string expansion;
};
std::vector<Abbreviation> gAbbreviations;

}  // namespace

bool IsTextLetter(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  return InSet(c, "\xC0\xC1\xC2\xC3\xC7\xC9\xCA\xCC\xCD\xD1\xD3\xD4\xD5\xD9\xDA\xDC");
}

bool IsTextConsonant(unsigned char c) {
  unsigned char u = (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
  if (u >= 'B' && u <= 'Z') return u != 'E' && u != 'I' && u != 'O' && u != 'U';
  return InSet(c, "\xC7\xD1");
}

bool IsKeptMark(unsigned char c) {
  switch (c) {
    case ' ': case '!': case '(': case ')': case ',': case '.': case ':': case ';': case '?':
      return true;
    default:
      return false;
  }
}

std::string SymbolName(unsigned char code) {
  if (code >= 224) code = static_cast<unsigned char>(code - 32);
  if (code >= 32 && code <= 126) return NamesA()[code - 32];
  if (code >= 161 && code <= 191) return NamesC()[code - 161];
  if (code >= 192 && code <= 220) return NamesB()[code - 192];
  return {};
}

std::string GroupWords(std::string_view d) {
  if (d == "000") return {};
  if (d == "100") return "cem";
  int h = d[0] - '0', t = d[1] - '0', u = d[2] - '0';
  std::string out;
  if (h != 0) {
    out += Hundreds()[h];
    if (t == 0 && u == 0) return out;
    out += " e ";
  }
  if (t == 1) return out + Teens()[u];
  if (t != 0) {
    out += Tens()[t];
    if (u == 0) return out;
    out += " e ";
  }
  if (u > 0) out += Units()[u];
  return out;
}

std::string CardinalWords(uint64_t value) {
  if (value == 0) return "zero";
  std::string digits = std::to_string(value % 1000000000000000ULL);
  digits.insert(0, 15 - digits.size(), '0');
  std::array<std::string, 5> words;
  int last = -1;
  for (int i = 0; i < 5; ++i) {
    std::string_view g = std::string_view(digits).substr(i * 3, 3);
    words[i] = GroupWords(g);
    if (i < 4 && g != "000") words[i] += " " + ScaleWord(i, g == "001");
    if (!words[i].empty()) last = i;
  }
  std::string out;
  bool earlier = false;
  for (int i = 0; i <= last; ++i) {
    if (i == last && earlier) out += "e ";
    out += words[i];
    if (!words[i].empty()) earlier = true;
  }
  if (out.rfind("um mil", 0) == 0 && out.rfind("um milh", 0) != 0) out.erase(0, 3);
  return out;
}

std::string OrdinalWords(char gender, uint64_t value) {
  if (value == 0) return "zero";
  if (value >= 2000) return CardinalWords(value);
  static const std::string thousand = platform::Utf8ToCp1252("milésimo");
  const Table* tables[3] = {&OrdinalUnits(), &OrdinalTens(), &OrdinalHundreds()};
  std::string out;
  uint64_t rest = value;
  for (int place = 0; place < 4; ++place, rest /= 10) {
    int digit = static_cast<int>(rest % 10);
    if (digit == 0) continue;
    std::string word = place < 3 ? (*tables[place])[digit] : thousand;
    if (gender == 'f') word.back() = 'a';
    out = out.empty() ? word : word + " " + out;
  }
  return TrimText(out);
}

std::string NumberWords(std::string_view text, size_t& pos) {
  const size_t len = text.size();
  // A run of digits with a dash is read character by character (telephone numbers, codes).
  size_t end = pos;
  bool dash = false;
  while (end <= len && (IsDigit(At(text, end)) || At(text, end) == '-')) {
    dash = dash || At(text, end) == '-';
    ++end;
  }
  if (dash) {
    std::string out;
    for (size_t p = pos; p < end; ++p) {
      unsigned char c = At(text, p);
      out += " ";
      out += c == '-' ? platform::Utf8ToCp1252("traço") : Units()[c - '0'];
    }
    pos = end;
    return out;
  }

  std::string prefix;
  while (pos < len && At(text, pos) == '0' && IsDigit(At(text, pos + 1))) {
    prefix += "zero ";
    ++pos;
  }

  uint64_t value = 0;
  int digits = 0;
  while (pos <= len) {
    unsigned char c = At(text, pos);
    if (IsDigit(c)) {
      if (digits >= 15) break;
      value = value * 10 + (c - '0');
      ++digits;
      ++pos;
    } else if (c == '.' && pos + 3 <= len && IsDigit(At(text, pos + 1)) &&
               IsDigit(At(text, pos + 2)) && IsDigit(At(text, pos + 3)) &&
               !IsDigit(At(text, pos + 4))) {
      ++pos;
    } else {
      break;
    }
  }

  unsigned char c = At(text, pos), n1 = At(text, pos + 1), n2 = At(text, pos + 2);
  if (pos > len || c == ' ') return prefix + CardinalWords(value);
  if (c == 0xBA) { ++pos; return OrdinalWords('m', value); }
  if (c == 0xAA) { ++pos; return OrdinalWords('f', value); }
  if (c == 'o' && n1 == '.') { pos += 2; return OrdinalWords('m', value); }
  if (c == 'a' && n1 == '.') { pos += 2; return OrdinalWords('f', value); }
  if (c == 'o' && n1 == 's' && n2 == '.') { pos += 3; return OrdinalWords('m', value) + "s"; }
  if (c == 'a' && n1 == 's' && n2 == '.') { pos += 3; return OrdinalWords('f', value) + "s"; }
  return prefix + CardinalWords(value);
}

std::string ReadWord(std::string_view text, size_t& pos) {
  const size_t start = pos;
  bool allConsonants = true;
  while (pos <= text.size() && IsTextLetter(At(text, pos))) {
    if (!IsTextConsonant(At(text, pos))) allConsonants = false;
    ++pos;
    if (At(text, pos) == '-') ++pos;
  }
  std::string w(text.substr(start - 1, pos - start));
  if (allConsonants && (At(text, pos) != '.' || LookupAbbreviation(w).empty())) {
    std::string spelled;
    for (char c : w) spelled += SymbolName(static_cast<unsigned char>(c));
    w = spelled;
  }
  return w;
}

std::string NormalizeText(std::string_view input) {
  std::string source(input);
  if (source.size() == 1) source = SymbolName(static_cast<unsigned char>(source[0]));
  std::string_view text = source;
  const size_t len = text.size();
  std::string out;
  size_t pos = 1;
  while (pos <= len) {
    unsigned char c = At(text, pos);
    if (pos >= 2 && c == '-' && At(text, pos - 1) == ' ' && At(text, pos + 1) == ' ') {
      out += ",";
      ++pos;
    } else if (c == '-' && pos < len && IsDigit(At(text, pos + 1))) {
      out += "menos ";
      ++pos;
    } else if (IsDigit(c)) {
      out += NumberWords(text, pos) + " ";
      while (pos + 1 <= len && (At(text, pos) == ',' || At(text, pos) == '.') &&
             IsDigit(At(text, pos + 1))) {
        out += At(text, pos) == ',' ? platform::Utf8ToCp1252("vírgula ") : "ponto ";
        ++pos;
        out += NumberWords(text, pos) + " ";
      }
    } else if (IsTextLetter(c)) {
      std::string w = ReadWord(text, pos);
      if (pos > len || At(text, pos) != '.' || At(text, pos + 1) != ' ') {
        out += w;
      } else {
        std::string expansion = LookupAbbreviation(w);
        if (!expansion.empty()) {
          out += expansion;
          ++pos;
        } else {
          out += w;
        }
      }
    } else if (c == '.' && At(text, pos + 1) == '.' && At(text, pos + 2) == '.') {
      out += "... ";
      pos += 3;
    } else if (c == '.' && pos < len && At(text, pos + 1) != ' ') {
      out += ' ';
      out += SymbolName('.');
      out += ' ';
      ++pos;
    } else if (IsKeptMark(c)) {
      out += static_cast<char>(c);
      ++pos;
    } else if (c == '\t' || c == '\n' || c == '\r') {
      // A line break separates words like a blank does.
      out += ' ';
      ++pos;
    } else {
      out += ' ';
      out += SymbolName(c);
      out += ' ';
      ++pos;
    }
  }
  return out;
}

bool LoadAbbreviations(const std::string& fileName) {
  gAbbreviations.clear();
  std::vector<std::string> lines;
  if (!platform::FileExists(fileName) || !ReadTextLines(fileName, lines)) return false;
  for (const auto& raw : lines) {
    // The table holds 2000 entries; later lines are not read.
    if (gAbbreviations.size() >= kMaxAbbreviations) break;
    std::string line = TrimText(raw);
    if (line.empty() || line[0] == ';') continue;
    size_t eq = line.find('=');
    Abbreviation a;
    a.abbreviation = AnsiUpper(TrimText(line.substr(0, eq)));
    if (eq != std::string::npos) a.expansion = TrimText(line.substr(eq + 1)).substr(0, 999);
    gAbbreviations.push_back(std::move(a));
  }
  return true;
}

std::string LookupAbbreviation(std::string_view word) {
  std::string upper = AnsiUpper(word);
  for (const auto& a : gAbbreviations)
    if (a.abbreviation == upper) return a.expansion;
  return {};
}

void ClearAbbreviations() { gAbbreviations.clear(); }
size_t AbbreviationCount() { return gAbbreviations.size(); }

}  // namespace teluma::tts
