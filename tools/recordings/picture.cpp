#include "picture.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace teluma::tools::recordings {
namespace {

constexpr int kWidth = 120, kHeight = 200;

struct Rgb {
  uint8_t r, g, b;
};

class Canvas {
 public:
  Canvas() : pixels_(kWidth * kHeight, Rgb{0, 0, 24}) {}
  void Set(int x, int y, Rgb c) {
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) pixels_[y * kWidth + x] = c;
  }
  Rgb Get(int x, int y) const { return pixels_[y * kWidth + x]; }
  // Fills every pixel whose centre satisfies inside(x, y).
  template <typename F>
  void Fill(Rgb c, F inside) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (inside(x + 0.5, y + 0.5)) Set(x, y, c);
  }

 private:
  std::vector<Rgb> pixels_;
};

void Draw(Canvas& c) {
  // Stars at fixed places (a small congruential sequence keeps them the same every build).
  uint32_t s = 7;
  for (int k = 0; k < 60; ++k) {
    s = s * 1103515245u + 12345u;
    int x = (s >> 8) % kWidth;
    s = s * 1103515245u + 12345u;
    int y = (s >> 8) % kHeight;
    c.Set(x, y, Rgb{255, 255, 220});
  }
  const double cx = kWidth / 2.0;
  // Flame below the body: yellow core inside an orange plume.
  c.Fill({255, 140, 0}, [&](double x, double y) {
    return y > 150 && y < 196 && std::fabs(x - cx) < 14 * (196 - y) / 46.0;
  });
  c.Fill({255, 240, 90}, [&](double x, double y) {
    return y > 150 && y < 180 && std::fabs(x - cx) < 7 * (180 - y) / 30.0;
  });
  // Fins, body, nose cone and window.
  c.Fill({200, 30, 30}, [&](double x, double y) {
    double d = std::fabs(x - cx);
    return y > 115 && y < 155 && d >= 12 && d < 12 + (y - 115) * 0.6;
  });
  c.Fill({210, 210, 220}, [&](double x, double y) { return y >= 50 && y < 152 && std::fabs(x - cx) < 13; });
  c.Fill({200, 30, 30}, [&](double x, double y) {
    return y >= 12 && y < 50 && std::fabs(x - cx) < 13 * (y - 12) / 38.0;
  });
  c.Fill({60, 140, 255}, [&](double x, double y) { return std::hypot(x - cx, y - 78) < 7; });
  c.Fill({20, 40, 90}, [&](double x, double y) {
    double r = std::hypot(x - cx, y - 78);
    return r >= 7 && r < 9;
  });
}

void Put(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}

}  // namespace

bool WriteRocketPicture(const std::string& path) {
  Canvas canvas;
  Draw(canvas);
  int rowBytes = ((kWidth * 24 + 31) / 32) * 4;
  uint32_t imageSize = rowBytes * kHeight;
  std::vector<uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  Put(b, 54 + imageSize, 4);
  Put(b, 0, 4);
  Put(b, 54, 4);   // pixel data offset
  Put(b, 40, 4);   // header size: the only one the console accepts
  Put(b, kWidth, 4);
  Put(b, kHeight, 4);  // positive: rows stored bottom-up
  Put(b, 1, 2);
  Put(b, 24, 2);
  Put(b, 0, 4);
  Put(b, imageSize, 4);
  Put(b, 2835, 4);
  Put(b, 2835, 4);
  Put(b, 0, 4);
  Put(b, 0, 4);
  for (int y = kHeight - 1; y >= 0; --y) {
    for (int x = 0; x < kWidth; ++x) {
      Rgb p = canvas.Get(x, y);
      b.push_back(p.b);
      b.push_back(p.g);
      b.push_back(p.r);
    }
    for (int pad = kWidth * 3; pad < rowBytes; ++pad) b.push_back(0);
  }
  std::string tmp = path + ".tmp";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
  ok = std::fclose(f) == 0 && ok;
  return ok && std::rename(tmp.c_str(), path.c_str()) == 0;
}

}  // namespace teluma::tools::recordings
