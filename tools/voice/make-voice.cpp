// make-voice: builds the Portuguese voice database "br4" from espeak-ng's Brazilian voice, the
// front end's diphone list "portug.dfn" from the database's inventory, and the registry file
// that tells the engine where the database is.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "harvest.hpp"
#include "phoneme_set.hpp"
#include "voice/voice_database.hpp"

namespace {

void Usage() {
  std::printf(
      "Uso: make-voice --out BASE [--dfn ARQUIVO] [--registry ARQUIVO --system-path CAMINHO]\n"
      "Colhe os difones da voz brasileira do espeak-ng e grava a base de voz BASE.\n"
      "  --dfn ARQUIVO          lista de difones da base (portug.dfn do conversor)\n"
      "  --registry ARQUIVO     registro (REGEDIT4) com o caminho da base para o motor\n"
      "  --system-path CAMINHO  caminho da base como o programa o vê (c:\\...)\n"
      "  --help, --version\n");
}

// Written beside the destination and renamed over it, so a failed build leaves no half file.
bool WriteFile(const std::string& path, const std::string& bytes) {
  std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "make-voice: não foi possível gravar %s\n", path.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "make-voice: não foi possível gravar %s\n", path.c_str());
    return false;
  }
  return true;
}

// The front end's diphone list: one pair per line, Windows-1252 with CR LF.
std::string DiphoneList(const voice::VoiceDatabase& db) {
  std::string text =
      "; Difones da voz br4 do portugu\xEAs brasileiro, gerado da base de voz.\r\n";
  for (const voice::Diphone& d : db.diphones)
    text += db.phonemes[d.left].name + "\t" + db.phonemes[d.right].name + "\r\n";
  return text;
}

// REGEDIT4: the default value of the database's key is its path; "\" and '"' are escaped.
std::string Registry(const std::string& systemPath) {
  std::string value;
  for (char c : systemPath) {
    if (c == '\\' || c == '"') value += '\\';
    value += c;
  }
  return "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\TCTS\\Mbrola\\databases\\br4]\r\n@=\"" +
         value + "\"\r\n\r\n";
}

}  // namespace

int main(int argc, char** argv) {
  std::string out, dfn, registry, systemPath;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    if (a == "--help") { Usage(); return 0; }
    if (a == "--version") { std::printf("make-voice %s\n", TELUMA_VERSION); return 0; }
    bool ok = (a == "--out" && value(out)) || (a == "--dfn" && value(dfn)) ||
              (a == "--registry" && value(registry)) || (a == "--system-path" && value(systemPath));
    if (!ok) {
      Usage();
      return 2;
    }
  }
  if (out.empty() || (!registry.empty() && systemPath.empty())) {
    Usage();
    return 2;
  }

  makevoice::Harvester harvester;
  if (!harvester.Ready()) {
    std::fprintf(stderr, "make-voice: a voz brasileira do espeak-ng não pôde ser usada\n");
    return 1;
  }
  const auto& phonemes = makevoice::VoicePhonemes();
  voice::VoiceDatabase db;
  db.pitch = static_cast<uint32_t>(std::lround(harvester.Pitch()));
  for (const auto& p : phonemes) db.phonemes.push_back({p.name, p.kind, p.voiced});

  size_t total = phonemes.size() * phonemes.size(), done = 0;
  std::string missing;
  makevoice::Cut cut;
  for (size_t l = 0; l < phonemes.size(); ++l)
    for (size_t r = 0; r < phonemes.size(); ++r) {
      if (++done % 100 == 0 || done == total)
        std::fprintf(stderr, "\rDifones: %zu/%zu", done, total);
      if (!harvester.Harvest(phonemes[l], phonemes[r], cut)) {
        missing += " " + phonemes[l].name + "-" + phonemes[r].name;
        continue;
      }
      voice::Diphone d;
      d.left = static_cast<uint8_t>(l);
      d.right = static_cast<uint8_t>(r);
      d.first = static_cast<uint32_t>(db.samples.size());
      d.count = static_cast<uint32_t>(cut.samples.size());
      d.boundary = cut.boundary;
      d.firstMark = static_cast<uint32_t>(db.marks.size());
      d.markCount = static_cast<uint32_t>(cut.marks.size());
      db.samples.insert(db.samples.end(), cut.samples.begin(), cut.samples.end());
      db.marks.insert(db.marks.end(), cut.marks.begin(), cut.marks.end());
      db.diphones.push_back(d);
    }
  std::fprintf(stderr, "\n");
  db.IndexPairs();
  std::string bytes = voice::EncodeVoiceDatabase(db);
  std::fprintf(stderr, "Base de voz: %zu difones de %zu, %zu amostras, %zu bytes, %u Hz\n",
               db.diphones.size(), total, db.samples.size(), bytes.size(), db.pitch);
  if (!missing.empty()) std::fprintf(stderr, "Difones que a voz não disse:%s\n", missing.c_str());
  if (!WriteFile(out, bytes)) return 1;
  if (!dfn.empty() && !WriteFile(dfn, DiphoneList(db))) return 1;
  if (!registry.empty() && !WriteFile(registry, Registry(systemPath))) return 1;
  return 0;
}
