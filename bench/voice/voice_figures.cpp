// Figures of the Portuguese voice: pair coverage of the database over the Brazilian word list
// and the game's messages, sample steps at diphone joins against those inside the diphones, the
// library's own speed, and the database's size.
//
//   voice_figures [--words FILE] | voice_figures --messages-only
// Reads the data tree like the programs do (TELUMA_ROOT).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/catalogue.hpp"
#include "platform/cp1252.hpp"
#include "platform/paths.hpp"
#include "tts/uttsExcessoes.hpp"
#include "tts/uttsInic.hpp"
#include "tts/uttsPortug.hpp"
#include "tts/uttsPreproc.hpp"
#include "tts/uttsProsodia.hpp"
#include "voice/pho_parser.hpp"
#include "voice/voice_synth.hpp"

namespace {

std::string Folder() { return platform::MapPath("c:\\qorbel\\koraltts"); }

std::vector<std::string> PhoLines(const std::string& cp1252) {
  auto items = AssignPitchPatterns(TokenizeWithKeys(NormalizeText(cp1252)), true);
  return BuildPhoLines(TokensToPhonemes(items), 1.0, 1.0);
}

std::vector<voice::PhoneLine> Phones(const std::vector<std::string>& lines) {
  std::vector<voice::PhoneLine> phones;
  std::vector<voice::ParseError> errors;
  for (const auto& line : lines) {
    voice::PhoneLine phone;
    if (voice::ParsePhoLine(line, phone, errors)) phones.push_back(phone);
  }
  return phones;
}

// Every pair of the text as the library meets it, pauses before and after included.
void CountPairs(const std::vector<voice::PhoneLine>& phones, const voice::VoiceDatabase& db,
                uint64_t& asked, uint64_t& found, std::map<std::string, uint64_t>& missing) {
  std::string previous = "_";
  auto pair = [&](const std::string& next) {
    ++asked;
    int l = db.FindPhoneme(previous), r = db.FindPhoneme(next);
    if (db.FindDiphone(l, r) >= 0) ++found;
    else ++missing[previous + "-" + next];
    previous = next;
  };
  for (const auto& p : phones) pair(p.name);
  pair("_");
}

int Coverage(const voice::VoiceDatabase& db, const std::string& words) {
  // A diphone list of every pair, so that the front end asks for what the text needs and never
  // bridges on its own.
  std::string all = "/tmp/voice-figures-all.dfn";
  {
    std::ofstream out(all);
    for (const auto& a : db.phonemes)
      for (const auto& b : db.phonemes) out << a.name << "\t" << b.name << "\n";
  }
  if (!LoadDiphones(all)) return 1;
  uint64_t asked = 0, found = 0, texts = 0;
  std::map<std::string, uint64_t> missing;
  std::ifstream list(words);
  for (std::string word; std::getline(list, word); ++texts)
    CountPairs(Phones(PhoLines(platform::Utf8ToCp1252(word))), db, asked, found, missing);
  for (const auto& entry : MessageCatalogue()) {
    CountPairs(Phones(PhoLines(entry.text)), db, asked, found, missing);
    ++texts;
  }
  std::printf("Cobertura: %llu textos, %llu pares pedidos, %llu na base (%.3f%%)\n",
              (unsigned long long)texts, (unsigned long long)asked, (unsigned long long)found,
              asked ? 100.0 * found / asked : 0.0);
  for (const auto& [pair, count] : missing)
    std::printf("Cobertura: par ausente (transposto) %s, %llu vezes\n", pair.c_str(), (unsigned long long)count);
  std::remove(all.c_str());
  return LoadDiphones(platform::JoinPath(Folder(), "portug.dfn")) ? 0 : 1;
}

int Joins(const voice::VoiceDatabase& db) {
  int inside = 0;
  for (const auto& d : db.diphones)
    for (uint32_t i = d.first + 1; i < d.first + d.count; ++i)
      inside = std::max(inside, std::abs(db.samples[i] - db.samples[i - 1]));
  int atJoins = 0;
  uint64_t joins = 0;
  double seconds = 0;
  std::vector<std::vector<voice::PhoneLine>> texts;
  for (const auto& entry : MessageCatalogue()) texts.push_back(Phones(PhoLines(entry.text)));
  std::clock_t start = std::clock();
  voice::VoiceSynth synth(db);
  std::vector<voice::ParseError> errors;
  std::vector<int16_t> out(1 << 16), all;
  for (int round = 0; round < 20; ++round)
    for (const auto& phones : texts) {
      synth.Reset();
      all.clear();
      for (const auto& p : phones) synth.Push(p, errors, false);
      synth.Flush(errors, false);
      for (size_t got; (got = synth.Read(out.data(), out.size(), 1.0)) > 0;)
        all.insert(all.end(), out.begin(), out.begin() + static_cast<long>(got));
      seconds += all.size() / 16000.0;
      if (round > 0) continue;
      // Where the two diphones of each phoneme meet, as the synthesizer places it.
      double ms = 0;
      int previous = db.FindPhoneme("_");
      for (size_t k = 0; k < phones.size(); ++k) {
        int cur = std::max(0, db.FindPhoneme(phones[k].name));
        int next = k + 1 < phones.size() ? std::max(0, db.FindPhoneme(phones[k + 1].name)) : db.FindPhoneme("_");
        int64_t s = std::llround(ms * 16);
        ms += phones[k].durationMs;
        int64_t n = std::llround(ms * 16) - s;
        bool b = false;
        const auto& x1 = db.diphones[static_cast<size_t>(synth.DiphoneFor(previous, cur, b))];
        const auto& x2 = db.diphones[static_cast<size_t>(synth.DiphoneFor(cur, next, b))];
        double l1 = x1.count - x1.boundary, l2 = x2.boundary;
        int64_t join = s + (l1 + l2 > 0 ? std::llround(n * l1 / (l1 + l2)) : n / 2);
        for (int64_t i = std::max<int64_t>(1, join - 16); i < std::min<int64_t>(join + 16, static_cast<int64_t>(all.size())); ++i)
          atJoins = std::max(atJoins, std::abs(all[static_cast<size_t>(i)] - all[static_cast<size_t>(i - 1)]));
        ++joins;
        previous = cur;
      }
    }
  double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  std::printf("Juntas: %llu juntas nas %zu mensagens; maior passo numa junta %d, maior passo dentro dos difones %d\n",
              (unsigned long long)joins, MessageCatalogue().size(), atJoins, inside);
  std::printf("Velocidade da biblioteca (só a síntese): %.1f s de som em %.3f s de CPU, %.0f vezes o tempo real\n",
              seconds, cpu, seconds / cpu);
  return atJoins <= inside ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string words = "/usr/share/dict/brazilian";
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--words" && i + 1 < argc) words = argv[++i];
    // The messages' texts, one per line (UTF-8), for the speed script.
    if (a == "--messages-only") {
      for (const auto& entry : MessageCatalogue()) std::printf("%s\n", platform::Cp1252ToUtf8(entry.text).c_str());
      return 0;
    }
  }
  std::string folder = Folder();
  auto file = [&](const char* name) { return platform::ResolveCase(platform::JoinPath(folder, name)); };
  SetProsodyMessageHandler([](const std::string&) {});
  if (!LoadPortugueseRules(file("portug.nrl"), file("portug.exc")) || !LoadAbbreviations(file("portug.abr")) ||
      !LoadProsody(file("portug.pro"))) {
    std::fprintf(stderr, "voice_figures: arquivos de regras ausentes em %s\n", folder.c_str());
    return 1;
  }
  voice::VoiceDatabase db;
  std::string error;
  if (!voice::LoadVoiceDatabase(file("br4"), db, error)) {
    std::fprintf(stderr, "voice_figures: %s\n", platform::Cp1252ToUtf8(error).c_str());
    return 1;
  }
  std::printf("Base br4: %zu fonemas, %zu difones, %zu amostras (%.1f s), %zu marcas, altura %u Hz\n",
              db.phonemes.size(), db.diphones.size(), db.samples.size(), db.samples.size() / 16000.0,
              db.marks.size(), db.pitch);
  int status = Coverage(db, words);
  return Joins(db) | status;
}
