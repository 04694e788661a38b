// The console's settings from sections "VIDEO" and "BRAILLE" of TELUMA.INI.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/backend.hpp"

namespace teluma::console {

struct ConsoleSetup {
  std::array<uint8_t, 16> remap{};  // logical colour -> palette index
  bool coloursFixed = false;
  bool blitScroll = false;
  uint8_t attr = 0x0F;
  int brailleMode = 0;
  int zoom = 2;
  std::string fontFace = "Lucida Console";
  int fontWidth = 0;   // 0: from the work area
  int fontHeight = 0;
  int fontWeight = 0;  // 0: the face's normal weight
  bool maximized = false;
};

// The fixed palette of the 16 colours.
extern const std::array<platform::Rgb, 16> kPalette;

// "TABCORES": up to 16 comma-separated whole numbers. Parsing stops at the first entry that is
// not a whole number (that colour and the rest keep the identity); a number above 255 counts
// as 255 (painted black like every index above 15).
std::array<uint8_t, 16> ParseColourTable(std::string_view text);

// The font as the program fixed it before the display opens: what is given here is not read
// from the settings file; with keepFont nothing about the font is read.
struct FontChoice {
  bool keepFont = false;
  std::string face;
  int width = 0;
  int height = 0;
  int weight = 0;
};

// Reads the settings file (missing file or keys give the defaults).
ConsoleSetup ReadConsoleSetup(const FontChoice& font = {});

// The colours a backend paints for the logical colours 0..15.
std::array<platform::Rgb, 16> RemappedColours(const std::array<uint8_t, 16>& remap);

}  // namespace teluma::console
