// Unit coverage of the built diphone database: every word of the Brazilian Portuguese word list
// and every game message goes through the translator and the synthesizer's unit lookup; each
// unit a syllable asks for is counted as found at once, found after decomposition, or falling
// to noise (or lost). Also prints the database sizes.
//
//   diphone_coverage [--words FILE] [--speed N] [--show N]
// Reads TELUMA.INI and the data tree like the programs do (TELUMA_ROOT, TELUMA_WINDIR).
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "make-diphones-units.hpp"
#include "game/catalogue.hpp"
#include "platform/cp1252.hpp"
#include "platform/paths.hpp"
#include "playback/tlwin_settings.hpp"
#include "synth/diphone.hpp"
#include "synth/translator.hpp"

namespace {

struct Tally {
  uint64_t direct = 0, decomposed = 0, lost = 0;
  uint64_t Total() const { return direct + decomposed + lost; }
};

// Follows the observer's events: a depth-0 lookup opens a request, and any noise or dropped
// unit below it marks the request as lost.
class Counter {
 public:
  void Begin() { open_ = false; lostInText_ = false; }
  void Event(std::string_view name, int depth, DiphoneUnitResult result) {
    bool lookup = result == DiphoneUnitResult::Found || result == DiphoneUnitResult::Missing;
    if (depth == 0 && lookup) {
      Close();
      open_ = true;
      found_ = result == DiphoneUnitResult::Found;
      lost_ = false;
      name_ = name;
    } else if (result == DiphoneUnitResult::Noise || result == DiphoneUnitResult::Dropped) {
      lost_ = true;
    }
  }
  void End() { Close(); }
  bool LostInText() const { return lostInText_; }
  Tally tally;
  std::map<std::string, uint64_t> lostUnits;

 private:
  void Close() {
    if (!open_) return;
    open_ = false;
    if (found_) {
      ++tally.direct;
    } else if (!lost_) {
      ++tally.decomposed;
    } else {
      ++tally.lost;
      ++lostUnits[name_];
      lostInText_ = true;
    }
  }
  bool open_ = false, found_ = false, lost_ = false, lostInText_ = false;
  std::string name_;
};

void Report(const char* what, const Tally& t) {
  double total = t.Total() ? static_cast<double>(t.Total()) : 1.0;
  auto n = [](uint64_t v) { return static_cast<unsigned long long>(v); };
  std::printf("%s: %llu pedidos de unidade; sem decomposição %llu (%.4f%%), após decomposição "
              "%llu (%.4f%%), ruído ou perda %llu (%.4f%%); em unidade gravada %.4f%%\n",
              what, n(t.Total()), n(t.direct), 100.0 * t.direct / total, n(t.decomposed),
              100.0 * t.decomposed / total, n(t.lost), 100.0 * t.lost / total,
              100.0 * (t.direct + t.decomposed) / total);
}

long long FileSize(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string wordFile = "/usr/share/dict/brazilian";
  int speed = 3, show = 15;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string arg = argv[i];
    if (arg == "--words") wordFile = argv[i + 1];
    else if (arg == "--speed") speed = std::atoi(argv[i + 1]);
    else if (arg == "--show") show = std::atoi(argv[i + 1]);
  }
  DiphoneDatabase() = ReadSuiteSetting("SINTETIZADOR", "DIFONES" + std::to_string(speed)).substr(0, 8);
  if (int code = DiphoneOpen(); code != 0) {
    std::printf("DiphoneOpen falhou com o código %d (banco %s)\n", code,
                DiphoneDatabase().c_str());
    return 1;
  }
  SetDiphonePlayer([](const uint8_t*, size_t) {}, [] { return false; });
  Counter counter;
  SetDiphoneUnitObserver([&](std::string_view n, int d, DiphoneUnitResult r) {
    counter.Event(n, d, r);
  });

  std::ifstream words(wordFile);
  std::string line;
  uint64_t wordCount = 0;
  while (std::getline(words, line)) {
    if (line.empty()) continue;
    counter.Begin();
    for (const auto& run : diphones::WordRuns(platform::Utf8ToCp1252(line)))
      DiphoneSpeak(TranslateText(run), false);
    counter.End();
    ++wordCount;
  }
  std::printf("Banco %s, %llu palavras de %s\n", DiphoneDatabase().c_str(),
              static_cast<unsigned long long>(wordCount), wordFile.c_str());
  Report("Lista de palavras", counter.tally);
  std::vector<std::pair<uint64_t, std::string>> worst;
  for (const auto& [name, count] : counter.lostUnits) worst.emplace_back(count, name);
  std::sort(worst.rbegin(), worst.rend());
  for (int i = 0; i < show && i < static_cast<int>(worst.size()); ++i)
    std::printf("  perdida: %-12s %llu\n", platform::Cp1252ToUtf8(worst[i].second).c_str(),
                static_cast<unsigned long long>(worst[i].first));

  int status = 0;
  Counter messages;
  SetDiphoneUnitObserver([&](std::string_view n, int d, DiphoneUnitResult r) {
    messages.Event(n, d, r);
  });
  int lostMessages = 0;
  for (const auto& entry : MessageCatalogue()) {
    messages.Begin();
    for (const auto& run : diphones::WordRuns(entry.text)) DiphoneSpeak(TranslateText(run), false);
    messages.End();
    if (messages.LostInText()) {
      ++lostMessages;
      std::printf("  mensagem com ruído: %s \"%s\"\n", std::string(entry.key).c_str(),
                  platform::Cp1252ToUtf8(entry.text).c_str());
    }
  }
  Report("Mensagens do jogo", messages.tally);
  for (const auto& [name, count] : messages.lostUnits)
    std::printf("  perdida nas mensagens: %s %llu\n", platform::Cp1252ToUtf8(name).c_str(),
                static_cast<unsigned long long>(count));
  std::printf("Mensagens com ruído ou perda: %d\n", lostMessages);
  if (lostMessages > 0) status = 1;

  std::string folder = platform::MapPath(DiphoneFolder());
  for (int step = 1; step <= 5; ++step) {
    std::string name = ReadSuiteSetting("SINTETIZADOR", "DIFONES" + std::to_string(step));
    long long ind = FileSize(platform::ResolveCase(platform::JoinPath(folder, name + ".IND")));
    long long dif = FileSize(platform::ResolveCase(platform::JoinPath(folder, name + ".DIF")));
    std::printf("Velocidade %d: %s, %lld unidades, %lld bytes de amostras (%.1f s de som)\n",
                step, name.c_str(), ind / 15, dif, dif / 11025.0);
  }
  DiphoneClose();
  double share = counter.tally.Total()
                     ? static_cast<double>(counter.tally.direct + counter.tally.decomposed) /
                           static_cast<double>(counter.tally.Total())
                     : 0;
  if (share < 0.995) status = 1;
  return status;
}
