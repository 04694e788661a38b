#include "conformance_world.hpp"

#include <filesystem>

#include "platform/cp1252.hpp"
#include "testkit/wave.hpp"

namespace fs = std::filesystem;

namespace conformance {

const char* const kLevels =
    "1000 altura inicial\n200 combustível\n30 máximo por rodada\n5 velocidade de pouso\n*\n"
    "1500\n150\n20\n4\n*\n2000\n120\n15\n3\n";

namespace {

std::string Crlf(const std::string& utf8) {
  std::string text;
  for (char c : platform::Utf8ToCp1252(utf8)) {
    if (c == '\n' && (text.empty() || text.back() != '\r')) text += '\r';
    text += c;
  }
  return text;
}

bool InGameFolder(const std::string& path) {
  std::string lower;
  for (char c : path) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("\\moondrop\\") != std::string::npos;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

World::World(const std::string& levels) {
  // The voice is an empty diphone database: words become short silences, which is all a
  // transcript needs. Letter recordings are missing, so the voice's own PLAYs play nothing.
  WriteText("windows/TELUMA.INI",
            "[TRADUTOR]\nVELOCIDADE=3\nSAPI=N\nDIRLETRAS=c:\\qorbel\\som\\letras\\\n"
            "DIRDIFONES=c:\\qorbel\\som\\difones\n"
            "[SINTETIZADOR]\nDIFONES3=DIFONES3\nCORTEFON3=400\nSOBRAFON3=0\nINTERPAL3=300\n"
            "CORTAFALA3=N\nRAPIDINHO3=N\nPAUSAPONTO3=250\nPAUSAVIRG3=150\nPAUSADOISPONTOS3=200\n"
            "[MOONDROP]\nDIRMOONDROP=c:\\qorbel\\som\\moondrop\n");
  if (!levels.empty()) WriteText("qorbel/lunardif.ini", levels);
  fs::create_directories(Root() + "/qorbel/som/moondrop");
  fs::create_directories(Root() + "/qorbel/som/letras");
  fs::create_directories(Work());
  for (const char* rules : {"regras.rgr", "portug.exc"})
    dir_.Write(std::string("qorbel/som/difones/") + rules,
               Crlf(testkit::ReadFile(testkit::SourceDir() + "/data/difones/" + rules)));
  for (const char* extension : {".IND", ".DIF"})
    dir_.Write(std::string("qorbel/som/difones/DIFONES3") + extension, "");
}

void World::WriteText(const std::string& relative, const std::string& utf8) const {
  dir_.Write(relative, Crlf(utf8));
}

void World::Record(const std::string& key, int samples) const {
  dir_.Write("qorbel/som/moondrop/" + key + ".wav", testkit::SilentWave(samples));
}

std::string World::ScoreFile() const {
  std::string path = Work() + "/luplacar.ini";
  if (!fs::exists(path)) return "";
  return platform::Cp1252ToUtf8(testkit::ReadFile(path));
}

testkit::RunResult World::Play(const std::string& keys, const std::string& seed) const {
  testkit::RunOptions options;
  options.keys = keys;
  options.workDir = Work();
  options.env = {{"TELUMA_ROOT", Root()}, {"TELUMA_WINDIR", Root() + "/windows"},
                 {"TELUMA_SEED", seed}};
  return testkit::RunHeadless(testkit::BuildDir() + "/src/apps/moondrop", options);
}

std::string Show(const Item& item) {
  std::string text;
  for (char c : item.text) {
    if (c == '\r') text += "\\r";
    else if (c == '\n') text += "\\n";
    else text += c;
  }
  return item.kind + " \"" + text + "\"";
}

std::vector<Item> Merge(const std::vector<Item>& raw) {
  std::vector<Item> items;
  for (const auto& item : raw) {
    if (item.kind == "OUT" && item.text.empty()) continue;
    if (item.kind == "OUT" && !items.empty() && items.back().kind == "OUT")
      items.back().text += item.text;
    else
      items.push_back(item);
  }
  return items;
}

std::vector<Item> Stream(const testkit::RunResult& r, size_t from) {
  std::vector<Item> raw;
  for (size_t i = from; i < r.events.size(); ++i) {
    const auto& e = r.events[i];
    if (e.name == "OUT" || e.name == "SPEAK") raw.push_back({e.name, testkit::Unquote(e.data)});
    else if ((e.name == "PLAY" || e.name == "EFFECT") && InGameFolder(e.data))
      raw.push_back({e.name, BaseName(e.data)});
    else if (e.name == "EXIT") raw.push_back({e.name, e.data});
  }
  return Merge(raw);
}

size_t FlightStart(const testkit::RunResult& r, int n) {
  const std::string prompt = "\"Pressione enter para começar a alunisagem.\"";
  for (size_t i = 0; i < r.events.size(); ++i) {
    if (r.events[i].name != "SPEAK" || r.events[i].data != prompt) continue;
    for (size_t j = i + 1; j < r.events.size(); ++j) {
      if (r.events[j].name == "KEY" && r.events[j].data == "13") {
        // The line read ends with the echo of its Enter, written to the screen like any output.
        const bool echoed = j + 1 < r.events.size() && r.events[j + 1].name == "OUT" &&
                            r.events[j + 1].data == "\"\\r\\n\"";
        if (n-- == 0) return echoed ? j + 2 : std::string::npos;
        break;
      }
    }
  }
  return std::string::npos;
}

std::string FirstDifference(const std::vector<Item>& expected, const std::vector<Item>& actual) {
  for (size_t i = 0; i < expected.size(); ++i) {
    if (i < actual.size() && expected[i] == actual[i]) continue;
    std::string text = "item " + std::to_string(i) + ": expected " + Show(expected[i]) +
                       "\n  actual " + (i < actual.size() ? Show(actual[i]) : "(end)");
    text += "\n  before it:";
    for (size_t k = i >= 4 ? i - 4 : 0; k < i; ++k) text += "\n    " + Show(expected[k]);
    text += "\n  actual after it:";
    for (size_t k = i + 1; k < actual.size() && k < i + 4; ++k) text += "\n    " + Show(actual[k]);
    return text;
  }
  return "";
}

int RowWith(const testkit::RunResult& r, const std::string& text) {
  for (size_t i = 0; i < r.screen.size(); ++i)
    if (r.screen[i].find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

std::string AttrRun(const testkit::RunResult& r, int row, size_t col, size_t count) {
  if (row < 0 || static_cast<size_t>(row) >= r.attrs.size()) return "";
  return r.attrs[row].substr(2 * col, 2 * count);
}

std::string Cells(const std::string& cell, size_t n) {
  std::string text;
  for (size_t i = 0; i < n; ++i) text += cell;
  return text;
}

size_t Chars(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace conformance
