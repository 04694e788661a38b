// effects-page: draws the waveform and spectrogram of every game effect of the data tree into
// PNG pictures with an HTML page, so that a sighted team member can check them at a glance.
//
//   effects-page ROOT OUTDIR     (make effects-page writes build/effects/index.html)
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "effects.hpp"

using namespace teluma;
using namespace teluma::tools;

namespace {

constexpr int kWidth = 640, kWave = 120, kSpec = 160, kHeight = kWave + kSpec;

std::vector<float> ReadSamples(const std::string& path, int& rate) {
  std::ifstream in(path, std::ios::binary);
  std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<float> out;
  if (b.size() < 44) return out;
  auto le = [&](size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | uint8_t(b[at + i]);
    return v;
  };
  rate = static_cast<int>(le(24, 4));
  int bits = static_cast<int>(le(34, 2));
  for (size_t i = 44; i + bits / 8 <= b.size(); i += bits / 8)
    out.push_back(bits == 8 ? (uint8_t(b[i]) - 128) / 128.0f : int16_t(le(i, 2)) / 32768.0f);
  return out;
}

uint32_t Crc(const std::string& s) {
  uint32_t c = 0xFFFFFFFF;
  for (unsigned char ch : s) {
    c ^= ch;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

void Chunk(std::string& png, const std::string& type, const std::string& data) {
  auto be = [](uint32_t v) {
    return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  };
  png += be(static_cast<uint32_t>(data.size())) + type + data + be(Crc(type + data));
}

// A PNG with uncompressed ("stored") deflate blocks: no compression library needed.
bool WritePng(const std::string& path, const std::vector<uint8_t>& rgb, int w, int h) {
  std::string raw;
  for (int y = 0; y < h; ++y) {
    raw += '\0';
    raw.append(reinterpret_cast<const char*>(&rgb[size_t(y) * w * 3]), size_t(w) * 3);
  }
  std::string z = "\x78\x01";
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  for (size_t at = 0; at < raw.size(); at += 65535) {
    size_t n = std::min<size_t>(65535, raw.size() - at);
    z += char(at + n == raw.size() ? 1 : 0);
    z += char(n & 0xFF);
    z += char(n >> 8);
    z += char(~n & 0xFF);
    z += char((~n >> 8) & 0xFF);
    z += raw.substr(at, n);
  }
  uint32_t adler = b << 16 | a;
  z += std::string{char(adler >> 24), char(adler >> 16), char(adler >> 8), char(adler)};
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string ihdr{char(0), char(0), char(w >> 8), char(w & 0xFF), char(0), char(0),
                   char(h >> 8), char(h & 0xFF), 8, 2, 0, 0, 0};
  Chunk(png, "IHDR", ihdr);
  Chunk(png, "IDAT", z);
  Chunk(png, "IEND", "");
  std::ofstream out(path, std::ios::binary);
  out << png;
  return bool(out);
}

std::vector<uint8_t> Draw(const std::vector<float>& s, int rate) {
  std::vector<uint8_t> img(size_t(kWidth) * kHeight * 3, 0);
  auto set = [&](int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    size_t i = (size_t(y) * kWidth + x) * 3;
    img[i] = r, img[i + 1] = g, img[i + 2] = b;
  };
  if (s.empty()) return img;
  size_t per = std::max<size_t>(1, s.size() / kWidth);
  for (int x = 0; x < kWidth; ++x) {
    float lo = 0, hi = 0;
    for (size_t i = x * per; i < std::min(s.size(), (x + 1) * per); ++i)
      lo = std::min(lo, s[i]), hi = std::max(hi, s[i]);
    int y0 = int((1 - hi) * (kWave - 1) / 2), y1 = int((1 - lo) * (kWave - 1) / 2);
    for (int y = y0; y <= y1; ++y) set(x, y, 80, 220, 120);
    // Spectrogram column: a 512-point windowed DFT, 0 to 8 kHz, in decibels.
    const int n = 512;
    size_t start = std::min(x * per, s.size() > n ? s.size() - n : 0);
    for (int row = 0; row < kSpec; ++row) {
      double hz = 8000.0 * (kSpec - 1 - row) / kSpec;
      double k = hz * n / rate;
      std::complex<double> acc = 0;
      for (int i = 0; i < n && start + i < s.size(); ++i) {
        double w = 0.5 - 0.5 * std::cos(2 * M_PI * i / n);
        acc += s[start + i] * w * std::polar(1.0, -2 * M_PI * k * i / n);
      }
      double db = 20 * std::log10(std::abs(acc) / n + 1e-9);
      double v = std::clamp((db + 90) / 70, 0.0, 1.0);
      set(x, kWave + row, uint8_t(255 * v), uint8_t(255 * v * v), uint8_t(80 * (1 - v)));
    }
  }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Uso: effects-page PASTA_DE_DADOS PASTA_DA_PAGINA\n");
    return argc == 2 && !std::strcmp(argv[1], "--help") ? 0 : 2;
  }
  std::string root = argv[1], out = argv[2];
  mkdir(out.c_str(), 0755);
  std::ostringstream html;
  html << "<!doctype html><meta charset=utf-8><title>Efeitos do Moondrop</title>"
          "<body style='background:#111;color:#eee;font-family:sans-serif'>"
          "<h1>Efeitos sonoros do jogo</h1><p>Forma de onda em cima; espectrograma de 0 a 8 kHz "
          "embaixo.</p>\n";
  for (const auto& effect : recordings::MakeEffects()) {
    int rate = 22050;
    auto samples = ReadSamples(root + "/qorbel/som/moondrop/" + effect.file, rate);
    std::string png = effect.file.substr(0, effect.file.rfind('.')) + ".png";
    if (!WritePng(out + "/" + png, Draw(samples, rate), kWidth, kHeight)) return 1;
    html << "<h2>" << effect.file << "</h2><p>" << effect.description << " — "
         << (rate ? samples.size() * 1.0 / rate : 0) << " s</p><img src='" << png << "'>\n";
  }
  std::ofstream(out + "/index.html") << html.str();
  std::printf("%s/index.html\n", out.c_str());
  return 0;
}
