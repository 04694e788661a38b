#include "tts/uttsKoral.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "console/TlCrt.hpp"
#include "platform/paths.hpp"
#include "wave/tlwav.hpp"
#include "tts/mbrola.hpp"
#include "tts/minireg.hpp"
#include "tts/uttsInic.hpp"
#include "tts/uttsPortug.hpp"
#include "tts/uttsPreproc.hpp"
#include "tts/uttsProsodia.hpp"
#include "tts/uttsTexto.hpp"

using namespace teluma::console;
using namespace teluma::wave;

namespace teluma::tts {

namespace {

struct Engine {
  std::string outputFileName;
  bool fileMode = false;
  std::FILE* outputFile = nullptr;
  // "-" is standard output; into a pipe the sound goes out chunk by chunk with a header that
  // cannot know the length, into a file the header is corrected at close where it was written.
  bool toStandardOutput = false;
  bool streamed = false;
  long headerOffset = 0;
  double durationFactor = 1.0;
  double pitchFactor = 1.0;
  std::string lastError;
  // Fixed buffers: nothing is allocated per chunk.
  std::array<short, kTtsStagingSamples> staging{};
  std::array<uint8_t, kTtsWaveHeaderBytes + kTtsImageBytes> image{};
  size_t imageBytes = 0;
};

Engine& State() {
  static Engine* engine = new Engine;
  return *engine;
}

void Put16(uint8_t* at, uint16_t v) {
  at[0] = uint8_t(v);
  at[1] = uint8_t(v >> 8);
}

void Put32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = uint8_t(v >> (8 * i));
}

std::string OrDefault(std::string value, const char* fallback) {
  return value.empty() ? fallback : value;
}

// The database argument turned into the path the library opens: the registry's entry for it,
// else the bare name; an empty entry means the default file.
std::string DatabasePath(const std::string& database) {
  std::string path = database;
  ReadRegistryString(kHkeyLocalMachine, kTtsDatabasesKey + database + "\\", path);
  if (path.empty()) path = kTtsDefaultDatabaseFile;
  return platform::MapPath(path);
}

void ReleaseLibrary() {
  if (!MbrolaLibraryLoaded()) return;
  Mbrola().close();
  UnloadMbrolaLibrary();
}

bool Fail(const char* text) {
  State().lastError = text;
  // The library is not kept for an engine that cannot speak.
  ReleaseLibrary();
  return false;
}

// The data size of a header written before the length is known: the largest the fields hold.
constexpr uint32_t kStreamDataSize = 0xFFFFFFFFu - 36;

std::FILE* OpenStandardOutput(bool& streamed, long& offset) {
  int fd = dup(STDOUT_FILENO);
  std::FILE* f = fd < 0 ? nullptr : fdopen(fd, "wb");
  if (!f) {
    if (fd >= 0) close(fd);
    return nullptr;
  }
  offset = std::ftell(f);
  // A file opened for appending cannot have its header rewritten: it gets a stream's.
  streamed = offset < 0 || (fcntl(fd, F_GETFL) & O_APPEND) != 0;
  return f;
}

bool CreateOutputFile() {
  Engine& e = State();
  e.toStandardOutput = e.outputFileName == "-";
  e.streamed = false;
  e.headerOffset = 0;
  e.outputFile = e.toStandardOutput ? OpenStandardOutput(e.streamed, e.headerOffset)
                                    : std::fopen(platform::MapPath(e.outputFileName).c_str(), "wb");
  if (!e.outputFile) return false;
  uint8_t header[kTtsWaveHeaderBytes];
  TtsWaveHeader(header, kTtsSampleRate, 16, e.streamed ? kStreamDataSize : 0, 1);
  if (std::fwrite(header, 1, sizeof header, e.outputFile) != sizeof header ||
      std::fflush(e.outputFile) != 0) {
    std::fclose(e.outputFile);
    e.outputFile = nullptr;
    return false;
  }
  return true;
}

// Standard output redirected to a file: its header is rewritten in place, at the offset where
// it was written.
void CorrectStandardOutputHeader() {
  Engine& e = State();
  std::FILE* f = e.outputFile;
  e.outputFile = nullptr;
  if (!e.streamed && std::fflush(f) == 0 && std::fseek(f, 0, SEEK_END) == 0) {
    long size = std::ftell(f) - e.headerOffset;
    if (size >= long(kTtsWaveHeaderBytes)) {
      uint8_t header[kTtsWaveHeaderBytes];
      TtsWaveHeader(header, kTtsSampleRate, 16, uint32_t(size - long(kTtsWaveHeaderBytes)), 1);
      std::fseek(f, e.headerOffset, SEEK_SET);
      std::fwrite(header, 1, sizeof header, f);
    }
  }
  std::fclose(f);
}

// Writes the header again with the sizes of what the file now holds.
void CorrectOutputHeader() {
  Engine& e = State();
  if (e.toStandardOutput) return CorrectStandardOutputHeader();
  std::fclose(e.outputFile);
  e.outputFile = nullptr;
  std::FILE* f = std::fopen(platform::MapPath(e.outputFileName).c_str(), "r+b");
  if (!f) return;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    long size = std::ftell(f);
    if (size >= long(kTtsWaveHeaderBytes)) {
      uint8_t header[kTtsWaveHeaderBytes];
      TtsWaveHeader(header, kTtsSampleRate, 16, uint32_t(size - long(kTtsWaveHeaderBytes)), 1);
      std::fseek(f, 0, SEEK_SET);
      std::fwrite(header, 1, sizeof header, f);
    }
  }
  std::fclose(f);
}

std::vector<std::string> PhoLinesOf(const std::string& text) {
  const Engine& e = State();
  std::vector<std::string> items = AssignPitchPatterns(TokenizeWithKeys(NormalizeText(text)), true);
  PhonemeList phonemes = TokensToPhonemes(items);
  items.clear();
  return BuildPhoLines(phonemes, e.durationFactor, e.pitchFactor);
}

void PlayImage() {
  Engine& e = State();
  TtsWaveHeader(e.image.data(), kTtsSampleRate, 16, uint32_t(e.imageBytes), 1);
  WavePlayImage(e.image.data(), kTtsWaveHeaderBytes + e.imageBytes);
  e.imageBytes = 0;
}

// Hands bytes of samples on: to the file, or into the play image, which is played whenever
// about half a second has gathered. False when a file write fails.
bool Deliver(const uint8_t* bytes, size_t count) {
  Engine& e = State();
  if (e.fileMode)
    return std::fwrite(bytes, 1, count, e.outputFile) == count &&
           (!e.streamed || std::fflush(e.outputFile) == 0);
  if (e.imageBytes + count >= kTtsChunkBytes && e.imageBytes > 0) PlayImage();
  std::memcpy(e.image.data() + kTtsWaveHeaderBytes + e.imageBytes, bytes, count);
  e.imageBytes += count;
  return true;
}

// Samples the library has ready, at most one staging buffer; negative counts as an error.
size_t ReadSamples(bool& ok) {
  Engine& e = State();
  int got = Mbrola().read(e.staging.data(), int(kTtsStagingSamples));
  if (got < 0) {
    if (Mbrola().lastError() != 0) {
      Mbrola().reset();
      ok = false;
    }
    return 0;
  }
  return 2 * std::min(size_t(got), kTtsStagingSamples);
}

}  // namespace

void TtsWaveHeader(uint8_t* destination, int32_t sampleRate, int16_t bitsPerSample,
                   uint32_t dataSize, int16_t channels) {
  const uint16_t blockAlign = uint16_t(channels * (bitsPerSample / 8));
  std::memcpy(destination, "RIFF", 4);
  Put32(destination + 4, dataSize + 36);
  std::memcpy(destination + 8, "WAVEfmt ", 8);
  Put32(destination + 16, 16);
  Put16(destination + 20, 1);
  Put16(destination + 22, uint16_t(channels));
  Put32(destination + 24, uint32_t(sampleRate));
  Put32(destination + 28, uint32_t(sampleRate) * blockAlign);
  Put16(destination + 32, blockAlign);
  Put16(destination + 34, uint16_t(bitsPerSample));
  std::memcpy(destination + 36, "data", 4);
  Put32(destination + 40, dataSize);
}

void TtsSetOutputFile(std::string_view name) { State().outputFileName = name; }

void TtsSetFactors(double durationFactor, double pitchFactor) {
  State().durationFactor = durationFactor;
  State().pitchFactor = pitchFactor;
}

double TtsDurationFactor() { return State().durationFactor; }
double TtsPitchFactor() { return State().pitchFactor; }
const std::string& TtsLastError() { return State().lastError; }

bool TtsOpen(std::string database, std::string letterRules, std::string exceptions,
             std::string abbreviations, std::string prosody, std::string diphones) {
  Engine& e = State();
  e.lastError.clear();
  if (!LoadMbrolaLibrary()) {
    e.lastError = "Biblioteca de s\xEDntese n\xE3o encontrada";
    return false;
  }
  database = OrDefault(database, kTtsDefaultDatabase);
  std::string path = DatabasePath(database);
  if (Mbrola().init(path.data()) < 0) {
    UnloadMbrolaLibrary();
    e.lastError = "Banco de voz n\xE3o encontrado: " + database;
    return false;
  }
  Mbrola().setNoError(1);

  FreeLetterRules();
  FreeDiphones();
  auto file = [](std::string name, const char* fallback) {
    return platform::MapPath(OrDefault(std::move(name), fallback));
  };
  // The exceptions are read only when the letter rules loaded.
  if (!LoadPortugueseRules(file(letterRules, "portug.nrl"), file(exceptions, "portug.exc")))
    return Fail("Erro na base de dados de portugu\xEAs");
  if (!LoadAbbreviations(file(abbreviations, "portug.abr")))
    return Fail("Erro no arquivo de abreviaturas");
  if (!LoadProsody(file(prosody, "portug.pro"))) return Fail("Erro no arquivo de pros\xF3" "dia");
  if (!LoadDiphones(file(diphones, "portug.dfn"))) return Fail("Erro no arquivo de pros\xF3" "dia");

  if (e.outputFile) std::fclose(e.outputFile);
  e.outputFile = nullptr;
  e.fileMode = false;
  if (e.outputFileName.empty()) return true;
  if (!CreateOutputFile()) return Fail("Arquivo de sa\xED" "da n\xE3o pode ser criado");
  e.fileMode = true;
  return true;
}

bool TtsSpeak(std::string_view text) {
  Engine& e = State();
  const std::string trimmed = TrimText(text);
  if (trimmed.empty() || !MbrolaLibraryLoaded()) return trimmed.empty();
  std::vector<std::string> lines = PhoLinesOf(trimmed);

  // Synthesized sound is played as it is, whatever speed tricks the device is set to.
  const bool fast = WaveFast(), shorten = WaveShorten();
  SetWaveFast(false);
  SetWaveShorten(false);
  const MbrolaEntryPoints& m = Mbrola();
  m.reset();
  e.imageBytes = 0;
  bool ok = true;
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    // A key that cuts the sound short makes the device drop whatever follows: synthesizing it
    // would only keep the keyboard waiting.
    if (!e.fileMode && WaveKeyInterrupt() && KeyWaiting()) {
      e.imageBytes = 0;
      break;
    }
    const bool last = i + 1 == lines.size();
    if (lines[i].empty() && !last) continue;
    out = lines[i] + "\r\n";
    m.write(out.data());
    if (m.lastError() != 0) {
      m.reset();
      ok = false;
    }
    if (last) m.flush();
    for (size_t bytes = ReadSamples(ok); bytes > 0; bytes = ReadSamples(ok))
      if (!Deliver(reinterpret_cast<const uint8_t*>(e.staging.data()), bytes)) ok = false;
  }
  if (!e.fileMode && e.imageBytes > 0) {
    if (e.imageBytes < kTtsMinImageBytes) {
      std::memset(e.image.data() + kTtsWaveHeaderBytes + e.imageBytes, 0,
                  kTtsMinImageBytes - e.imageBytes);
      e.imageBytes = kTtsMinImageBytes;
    }
    PlayImage();
  }
  SetWaveFast(fast);
  SetWaveShorten(shorten);
  return ok;
}

bool TtsBusy() { return !State().fileMode && WaveBusy(); }

void TtsStop() {
  if (!State().fileMode) WaveStop();
}

void TtsClose() {
  Engine& e = State();
  if (e.fileMode) CorrectOutputHeader();
  e.fileMode = false;
  FreeLetterRules();
  FreeDiphones();
  ReleaseLibrary();
}

}  // namespace teluma::tts
