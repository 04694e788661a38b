// make-diphones: builds the diphone synthesizer's voice databases.
//
//   make-diphones --inventory OUT --rules DIR [--words FILE]... [--texts FILE]...
//     runs every word (one per line, UTF-8) and text through the translator and the
//     synthesizer's unit lookup and writes the units asked for, one "NAME COUNT" per line.
//   make-diphones --render INVENTORY --rate WPM --out DIR --name NAME
//     says every unit with the Brazilian Portuguese voice, cuts it and writes NAME.IND and
//     NAME.DIF into DIR.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "make-diphones-units.hpp"
#include "game/catalogue.hpp"
#include "platform/cp1252.hpp"
#include "synth/translator.hpp"

namespace {

struct Options {
  std::string inventory;
  std::string render;
  std::string rules;
  std::vector<std::string> words;
  std::string out;
  std::string name;
  int rate = 175;
  bool catalogue = false;
};

int Usage() {
  std::cerr << "uso: make-diphones --inventory SAIDA --rules PASTA [--words ARQ]... [--texts ARQ]...\n"
               "     make-diphones --render INVENTARIO --rate PPM --out PASTA --name NOME\n";
  return 2;
}

// Lines of a UTF-8 file as Windows-1252 texts.
void ReadLines(const std::string& file, std::vector<std::string>& into) {
  std::ifstream in(file);
  if (!in) {
    std::cerr << "make-diphones: aviso: " << file << " n\xC3\xA3o existe\n";
    return;
  }
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) into.push_back(platform::Utf8ToCp1252(line));
  }
}

// Every consonant letter before every vowel, plain, stressed and marked, so that the common
// syllables are there whatever the word list holds.
std::vector<std::string> SystematicSyllables() {
  std::vector<std::string> texts;
  const char* onsets[] = {"",  "b",  "k",  "d",  "f",  "g",  "j",   "l",  "m",  "n",
                          "p", "r",  "s",  "t",  "v",  "x",  "z",   "dj", "nh", "lh",
                          "rr", "tch", "kw", "gw"};
  for (const char* onset : onsets)
    for (char v : std::string("aeiou")) {
      std::string lower = std::string(onset) + v;
      std::string upper = std::string(onset) + static_cast<char>(v - 'a' + 'A');
      for (const std::string& s : {lower, upper, lower + "^", upper + "^", lower + "~"})
        texts.push_back("[" + s + "]");
    }
  // Diphthongs and the vowel + r syllables, alone.
  for (const char* s : {"ay", "ey", "oy", "uy", "aw", "ew", "iw", "ow", "a~w", "a~y", "e~y",
                        "o~y", "u~y", "ar", "er", "ir", "or", "ur"})
    texts.push_back(std::string("[") + s + "]");
  return texts;
}

int Inventory(const Options& options, const std::vector<std::string>& textFiles) {
  if (!LoadTranslatorFiles(options.rules)) {
    std::cerr << "make-diphones: n\xC3\xA3o consigo ler as regras de " << options.rules << "\n";
    return 1;
  }
  std::vector<std::string> words;
  for (const auto& file : options.words) ReadLines(file, words);
  std::vector<std::string> texts;
  for (const auto& file : textFiles) ReadLines(file, texts);
  if (options.catalogue)
    for (const auto& entry : MessageCatalogue()) texts.push_back(entry.text);
  std::cerr << "make-diphones: " << words.size() << " palavras, " << texts.size()
            << " textos\n";

  diphones::Inventory inventory;
  const size_t chunk = 20000;
  for (size_t from = 0; from < words.size(); from += chunk) {
    std::vector<std::string> part(words.begin() + static_cast<long>(from),
                                  words.begin() + static_cast<long>(std::min(words.size(), from + chunk)));
    diphones::CollectUnits(part, inventory);
    std::cerr << "\rmake-diphones: invent\xC3\xA1rio " << std::min(words.size(), from + chunk)
              << "/" << words.size() << " palavras, " << inventory.units.size() << " unidades"
              << std::flush;
  }
  std::cerr << "\n";
  diphones::CollectUnits(texts, inventory);
  diphones::CollectUnits(SystematicSyllables(), inventory, true);
  FreeRules();

  std::map<std::string, uint64_t> units = inventory.units;
  for (const std::string& base : diphones::BaseUnits())
    if (!diphones::UnitPhonemes(base).empty()) units.emplace(base, 0);
  std::ofstream out(options.inventory);
  for (const auto& [name, count] : units) out << name << " " << count << "\n";
  std::cerr << "make-diphones: " << units.size() << " unidades em " << options.inventory
            << "\n";
  return out.good() ? 0 : 1;
}

int Render(const Options& options) {
  std::ifstream in(options.render);
  if (!in) {
    std::cerr << "make-diphones: n\xC3\xA3o consigo ler " << options.render << "\n";
    return 1;
  }
  std::vector<std::string> names;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    if (fields >> name) names.push_back(name);
  }
  diphones::Renderer renderer(options.rate);
  if (!renderer.Ready()) {
    std::cerr << "make-diphones: a voz portuguesa do espeak-ng n\xC3\xA3o est\xC3\xA1 dispon\xC3\xADvel\n";
    return 1;
  }
  auto start = std::chrono::steady_clock::now();
  std::map<std::string, diphones::Samples> units;
  size_t done = 0, silent = 0, bytes = 0;
  for (const std::string& name : names) {
    diphones::Samples samples = renderer.Render(diphones::UnitPhonemes(name));
    if (samples.empty())
      ++silent;
    else
      bytes += (units[name] = std::move(samples)).size();
    if (++done % 500 == 0 || done == names.size())
      std::cerr << "\rmake-diphones: " << options.name << " " << done << "/" << names.size()
                << " unidades" << std::flush;
  }
  std::cerr << "\n";
  if (!diphones::WriteDatabase(options.out, options.name, units)) {
    std::cerr << "make-diphones: n\xC3\xA3o consigo gravar " << options.name << " em "
              << options.out << "\n";
    return 1;
  }
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::fprintf(stderr, "make-diphones: %s: %zu unidades, %zu bytes, %zu sem som, %.1f s\n",
               options.name.c_str(), units.size(), bytes, silent, seconds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::vector<std::string> textFiles;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (i + 1 >= argc) return Usage();
    std::string value = argv[++i];
    if (arg == "--inventory") options.inventory = value;
    else if (arg == "--render") options.render = value;
    else if (arg == "--rules") options.rules = value;
    else if (arg == "--words") options.words.push_back(value);
    else if (arg == "--texts") textFiles.push_back(value);
    else if (arg == "--out") options.out = value;
    else if (arg == "--catalogue") options.catalogue = value != "no";
    else if (arg == "--name") options.name = value;
    else if (arg == "--rate") options.rate = std::stoi(value);
    else return Usage();
  }
  if (!options.inventory.empty() && !options.rules.empty()) {
    return Inventory(options, textFiles);
  }
  if (!options.render.empty() && !options.out.empty() && !options.name.empty())
    return Render(options);
  return Usage();
}
