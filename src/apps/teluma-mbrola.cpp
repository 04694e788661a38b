// teluma-mbrola: hears and inspects the Portuguese voice without the engine. Reads MBROLA
// lines from a file or standard input, renders them with libteluma-mbrola.so (loaded by name,
// as the engine loads it) and writes a 16000 Hz 16-bit mono wave file.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "apps/command_line.hpp"
#include "platform/cp1252.hpp"
#include "platform/dynlib.hpp"
#include "platform/wave_file.hpp"
#include "voice/teluma_mbrola.h"

namespace teluma::apps {

namespace {

void Usage() {
  std::cout <<
      "Uso: teluma-mbrola [-w ARQUIVO.wav] BASE [ARQUIVO.pho]\n"
      "Sintetiza linhas MBROLA (fonema, duração em ms, pares de posição em % e frequência em Hz)\n"
      "com a base de voz BASE e grava um arquivo wave de 16000 Hz, 16 bits, mono.\n"
      "  -w ARQUIVO   arquivo wave de saída (padrão: saída padrão)\n"
      "  --help, --version\n"
      "Sem ARQUIVO.pho, as linhas são lidas da entrada padrão. Erros das linhas vão para a saída\n"
      "de erros e a síntese continua.\n";
}

int Fail(const std::string& utf8) {
  std::cerr << "teluma-mbrola: " << utf8 << "\n";
  return 1;
}

struct Library {
  platform::LibraryHandle handle = nullptr;
  int (*init)(const char*) = nullptr;
  int (*write)(const char*) = nullptr;
  int (*flush)() = nullptr;
  int (*read)(short*, int) = nullptr;
  int (*lastError)() = nullptr;
  int (*lastErrorStr)(char*, int) = nullptr;
  void (*close)() = nullptr;

  bool Load() {
    handle = platform::LoadLibrary(MBR_LIBRARY_NAME);
    if (!handle) return false;
    init = platform::GetProc<decltype(init)>(handle, "init_MBR");
    write = platform::GetProc<decltype(write)>(handle, "write_MBR");
    flush = platform::GetProc<decltype(flush)>(handle, "flush_MBR");
    read = platform::GetProc<decltype(read)>(handle, "read_MBR");
    lastError = platform::GetProc<decltype(lastError)>(handle, "lastError_MBR");
    lastErrorStr = platform::GetProc<decltype(lastErrorStr)>(handle, "lastErrorStr_MBR");
    close = platform::GetProc<decltype(close)>(handle, "close_MBR");
    return init && write && flush && read && lastError && lastErrorStr && close;
  }

  std::string ErrorText() const {
    char text[512];
    lastErrorStr(text, sizeof text);
    return platform::Cp1252ToUtf8(text);
  }
};

}  // namespace

}  // namespace teluma::apps

using namespace teluma;
using namespace teluma::apps;

int main(int argc, char** argv) {
  std::string output, database, input;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") { Usage(); return 0; }
    if (a == "--version") { apps::PrintVersion("teluma-mbrola"); return 0; }
    if (a == "-w") {
      if (i + 1 >= argc) { Usage(); return 2; }
      output = argv[++i];
    } else if (database.empty()) {
      database = a;
    } else if (input.empty()) {
      input = a;
    } else {
      Usage();
      return 2;
    }
  }
  if (database.empty()) { Usage(); return 2; }

  Library mbrola;
  if (!mbrola.Load()) return Fail("biblioteca " MBR_LIBRARY_NAME " não encontrada: " + platform::LastLibraryError());
  if (mbrola.init(database.c_str()) < 0) return Fail(mbrola.ErrorText());

  std::ifstream file;
  if (!input.empty()) {
    file.open(input, std::ios::binary);
    if (!file) return Fail("não foi possível ler " + input);
  }
  std::istream& in = input.empty() ? std::cin : file;

  std::vector<int16_t> samples;
  std::string lastShown;
  auto collect = [&] {
    if (mbrola.lastError() != 0 && mbrola.ErrorText() != lastShown) {
      lastShown = mbrola.ErrorText();
      std::cerr << "teluma-mbrola: " << lastShown << "\n";
    }
    short chunk[16000];
    for (int got; (got = mbrola.read(chunk, 16000)) > 0;) samples.insert(samples.end(), chunk, chunk + got);
  };
  std::vector<char> piece(4096);
  while (in.read(piece.data(), static_cast<std::streamsize>(piece.size() - 1)) || in.gcount() > 0) {
    std::string text(piece.data(), static_cast<size_t>(in.gcount()));
    // The library takes zero-terminated text; a NUL byte in the input only ends a piece.
    for (size_t at = 0; at <= text.size();) {
      size_t nul = text.find('\0', at);
      if (nul == std::string::npos) nul = text.size();
      mbrola.write(text.substr(at, nul - at).c_str());
      at = nul + 1;
    }
    collect();
  }
  mbrola.flush();
  collect();
  mbrola.close();
  platform::FreeLibrary(mbrola.handle);

  uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
  std::string wave(platform::kWaveHeaderBytes, '\0');
  platform::PutWaveHeader(reinterpret_cast<uint8_t*>(wave.data()), bytes, 16000, 1, 16, 2);
  for (int16_t s : samples) {
    wave.push_back(static_cast<char>(static_cast<uint16_t>(s) & 0xFF));
    wave.push_back(static_cast<char>(static_cast<uint16_t>(s) >> 8));
  }
  if (output.empty()) {
    if (std::fwrite(wave.data(), 1, wave.size(), stdout) != wave.size() || std::fflush(stdout) != 0)
      return Fail("não foi possível escrever a saída");
    return 0;
  }
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  out.write(wave.data(), static_cast<std::streamsize>(wave.size()));
  if (!out.flush()) return Fail("não foi possível gravar " + output);
  return 0;
}
