#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <climits>
#include <vector>

#include "console/picture.hpp"
#include "console/settings.hpp"
#include "console/tone.hpp"
#include "testkit/testkit.hpp"

using namespace teluma::console;

namespace {
uint32_t U32(const std::vector<uint8_t>& v, size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (static_cast<uint32_t>(v[at + 3]) << 24);
}
}  // namespace

TEST(Tone, SquareWaveImage) {
  auto image = BuildToneImage(800);  // period 13 samples: 6 low, 7 high
  ASSERT_EQ(image.size(), 44u + 11025u);
  EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "RIFF");
  EXPECT_EQ(U32(image, 24), 11025u);
  EXPECT_EQ(image[34], 8);
  // Periods start at k * 11025 div 800 while the start is at most 11025 - 13: the last is
  // k = 799, start 11011, so the data ends at 11024.
  uint32_t length = U32(image, 40);
  EXPECT_EQ(length, 11024u);
  EXPECT_EQ(U32(image, 4), length + 36);
  EXPECT_EQ(image[44 + 0], 96);
  EXPECT_EQ(image[44 + 5], 96);
  EXPECT_EQ(image[44 + 6], 160);
  EXPECT_EQ(image[44 + 12], 160);
  EXPECT_EQ(image[44 + 13], 96);  // the second period starts at 1 * 11025 div 800 = 13
  EXPECT_EQ(image[44 + length - 1], 128);
  // Period 2 starts at 27, so sample 26 lies between periods and stays at the middle level.
  EXPECT_EQ(image[44 + 26], 128);
  EXPECT_EQ(image[44 + 27], 96);
  auto high = BuildToneImage(1600);  // period 6: 3 low, 3 high
  EXPECT_EQ(high[44 + 2], 96);
  EXPECT_EQ(high[44 + 3], 160);
  EXPECT_EQ(high[44 + 6], 96);
  // A frequency above the sample rate leaves no whole period but still ends.
  auto silent = BuildToneImage(20000);
  EXPECT_EQ(silent.size(), 44u + 11025u);
}

TEST(Settings, ColourTable) {
  auto identity = ParseColourTable("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");
  for (int i = 0; i < 16; ++i) EXPECT_EQ(identity[i], i);
  auto partial = ParseColourTable("4,1");
  EXPECT_EQ(partial[0], 4);
  EXPECT_EQ(partial[1], 1);
  EXPECT_EQ(partial[2], 2);
  EXPECT_EQ(partial[15], 15);
  auto bad = ParseColourTable("3,x,9");  // stops at x: colour 1 and the rest keep identity
  EXPECT_EQ(bad[0], 3);
  EXPECT_EQ(bad[1], 1);
  EXPECT_EQ(bad[2], 2);
  auto big = ParseColourTable("300,16");
  EXPECT_EQ(big[0], 255);
  auto colours = RemappedColours(big);
  EXPECT_EQ(colours[0].r + colours[0].g + colours[0].b, 0);  // above 15 paints black
  EXPECT_EQ(colours[1].r, 0);
  EXPECT_EQ(colours[4].r, 255);
  EXPECT_EQ(ParseColourTable("")[0], 0);
}

TEST(Settings, FileValuesAndGarbage) {
  testkit::TempDir dir;
  setenv("TELUMA_WINDIR", dir.path().c_str(), 1);
  auto defaults = ReadConsoleSetup();  // no TELUMA.INI there
  EXPECT_EQ(defaults.attr, 0x0F);
  EXPECT_EQ(defaults.brailleMode, 0);
  EXPECT_EQ(defaults.zoom, 2);
  EXPECT_FALSE(defaults.coloursFixed);
  EXPECT_FALSE(defaults.maximized);
  EXPECT_EQ(defaults.fontFace, "Lucida Console");
  dir.Write("TELUMA.INI",
            "[VIDEO]\r\nCORFUNDO=1\r\nCORLETRA=\r\nCORESFIXAS=sim\r\nAMPLIF=8\r\n"
            "CANTOTELA=NAO\r\nTABCORES=4,1\r\nALTURALETRA=abc\r\nLARGURALETRA=12\r\n"
            "[BRAILLE]\r\nMODO=3\r\n");
  auto s = ReadConsoleSetup();
  EXPECT_EQ(s.attr, 0x17);  // empty CORLETRA gives 7
  EXPECT_TRUE(s.coloursFixed);
  EXPECT_EQ(s.zoom, 2);     // "8" & 7 is 0: the default zoom
  EXPECT_TRUE(s.maximized);
  EXPECT_EQ(s.remap[0], 4);
  EXPECT_EQ(s.brailleMode, 3);  // '3' & 3; SetBrailleMode turns it into 1
  EXPECT_EQ(s.fontHeight, 0);
  EXPECT_EQ(s.fontWidth, 12);
  // Font values the program fixed itself are not read; a weight of its own is replaced.
  dir.Write("TELUMA.INI", "[VIDEO]\r\nFONTE=Outra\r\nALTURALETRA=30\r\nPESOLETRA=400\r\n");
  auto fixed = ReadConsoleSetup({false, "Minha", 0, 20, 900});
  EXPECT_EQ(fixed.fontFace, "Minha");
  EXPECT_EQ(fixed.fontHeight, 20);
  EXPECT_EQ(fixed.fontWeight, 400);
  auto plain = ReadConsoleSetup();
  EXPECT_EQ(plain.fontFace, "Outra");
  EXPECT_EQ(plain.fontHeight, 30);
  EXPECT_EQ(plain.fontWeight, 0);  // the default weight 0 is kept
  auto kept = ReadConsoleSetup({true, "", 0, 0, 0});
  EXPECT_EQ(kept.fontFace, "");
  EXPECT_EQ(kept.fontHeight, 0);
  dir.Write("TELUMA.INI", "[VIDEO]\r\nCORLETRA=verde\r\nCORFUNDO=azul\r\n[BRAILLE]\r\nMODO=x\r\n");
  auto g = ReadConsoleSetup();
  EXPECT_EQ(g.attr, 0x0F);
  EXPECT_EQ(g.brailleMode, 'x' & 3);
  unsetenv("TELUMA_WINDIR");
}

TEST(Picture, HeaderAndPixels) {
  // A 2 x 2 image of 24 bits, bottom-up rows padded to 8 bytes.
  std::vector<uint8_t> f(54 + 16, 0);
  f[0] = 'B'; f[1] = 'M';
  f[10] = 54;
  f[14] = 40;
  f[18] = 2;
  f[22] = 2;
  f[26] = 1;
  f[28] = 24;
  // bottom row: blue, green; top row: red, white
  uint8_t bottom[] = {255, 0, 0, 0, 255, 0};
  uint8_t top[] = {0, 0, 255, 255, 255, 255};
  std::copy(bottom, bottom + 6, f.begin() + 54);
  std::copy(top, top + 6, f.begin() + 62);
  auto p = DecodeBmp(f);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->width, 2);
  EXPECT_EQ(p->pixels[0], 0xFF0000u);
  EXPECT_EQ(p->pixels[1], 0xFFFFFFu);
  EXPECT_EQ(p->pixels[2], 0x0000FFu);
  EXPECT_EQ(p->pixels[3], 0x00FF00u);
  auto old = f;
  old[14] = 12;  // an old 12-byte header is refused
  EXPECT_FALSE(DecodeBmp(old));
  auto cut = f;
  cut.resize(60);  // pixel data cut short
  EXPECT_FALSE(DecodeBmp(cut));
  EXPECT_FALSE(LoadBmp("/nonexistent/foguete.bmp"));
}

TEST(Picture, TopDownHeights) {
  // A 1 x 2 image of 24 bits, rows of 4 bytes: first row red, second row blue.
  std::vector<uint8_t> f(54 + 8, 0);
  f[0] = 'B'; f[1] = 'M';
  f[10] = 54;
  f[14] = 40;
  f[18] = 1;
  f[26] = 1;
  f[28] = 24;
  f[54 + 2] = 255;
  f[58] = 255;
  auto setHeight = [&](int32_t h) {
    for (int i = 0; i < 4; ++i) f[22 + i] = static_cast<uint8_t>(static_cast<uint32_t>(h) >> (8 * i));
  };
  setHeight(-2);  // top-down: the first row is the top one
  auto p = DecodeBmp(f);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->height, 2);
  EXPECT_EQ(p->pixels[0], 0xFF0000u);
  EXPECT_EQ(p->pixels[1], 0x0000FFu);
  setHeight(2);
  p = DecodeBmp(f);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels[0], 0x0000FFu);
  // The smallest height (no positive counterpart) keeps no low bits: refused, not negated.
  setHeight(INT32_MIN);
  EXPECT_FALSE(DecodeBmp(f));
}

TEST(Picture, DamagedFilesNeverCrash) {
  std::vector<uint8_t> f(54 + 4 * 16 + 64, 0);
  f[0] = 'B'; f[1] = 'M';
  f[10] = 54 + 64;
  f[14] = 40;
  f[18] = 8;
  f[22] = 8;
  f[28] = 4;
  f[46] = 16;
  ASSERT_TRUE(DecodeBmp(f));
  std::mt19937 random(7);
  for (int i = 0; i < 5000; ++i) {
    auto damaged = f;
    for (int j = 0; j < 4; ++j) damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
    if (random() % 4 == 0) damaged.resize(random() % damaged.size());
    auto p = DecodeBmp(damaged);
    if (p) {
      EXPECT_EQ(p->pixels.size(), static_cast<size_t>(p->width) * p->height);
    }
  }
}
