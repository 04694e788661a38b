#include "console/settings.hpp"

#include <cctype>

#include "platform/profile.hpp"

namespace teluma::console {

const std::array<platform::Rgb, 16> kPalette = {{
    {0, 0, 0},       {0, 0, 255},     {0, 255, 0},     {0, 255, 255},
    {255, 0, 0},     {142, 0, 142},   {68, 34, 34},    {192, 192, 192},
    {128, 128, 128}, {128, 128, 255}, {128, 255, 128}, {128, 255, 255},
    {255, 128, 128}, {255, 128, 255}, {255, 255, 0},   {255, 255, 255},
}};

namespace {

std::string Setting(const char* section, const char* key, const char* fallback, size_t size = 80) {
  return platform::GetPrivateProfileString(section, key, fallback, size, "TELUMA.INI");
}

bool Yes(const std::string& v) {
  return !v.empty() && std::toupper(static_cast<unsigned char>(v[0])) == 'S';
}

// A whole number (blanks around it allowed); false for anything else.
bool WholeNumber(std::string_view text, long& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    if (value < 100000) value = value * 10 + (c - '0');
  }
  return true;
}

// A colour number; empty gives emptyValue, anything else not a number gives fallback.
long Number(const std::string& text, long emptyValue, long fallback) {
  if (text.empty()) return emptyValue;
  long v;
  return WholeNumber(text, v) ? v : fallback;
}

}  // namespace

std::array<uint8_t, 16> ParseColourTable(std::string_view text) {
  std::array<uint8_t, 16> remap;
  for (int i = 0; i < 16; ++i) remap[i] = static_cast<uint8_t>(i);
  for (int i = 0; i < 16; ++i) {
    size_t comma = text.find(',');
    long v;
    if (!WholeNumber(text.substr(0, comma), v)) break;
    remap[i] = static_cast<uint8_t>(v > 255 ? 255 : v);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return remap;
}

std::array<platform::Rgb, 16> RemappedColours(const std::array<uint8_t, 16>& remap) {
  std::array<platform::Rgb, 16> out;
  for (int i = 0; i < 16; ++i) out[i] = remap[i] > 15 ? platform::Rgb{} : kPalette[remap[i]];
  return out;
}

ConsoleSetup ReadConsoleSetup(const FontChoice& font) {
  ConsoleSetup s;
  s.remap = ParseColourTable(Setting("VIDEO", "TABCORES", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15"));
  s.coloursFixed = Yes(Setting("VIDEO", "CORESFIXAS", "N"));
  s.blitScroll = Yes(Setting("VIDEO", "LENTO", "N"));
  long background = Number(Setting("VIDEO", "CORFUNDO", "0"), 0, 0);
  long foreground = Number(Setting("VIDEO", "CORLETRA", "15"), 7, 15);
  s.attr = static_cast<uint8_t>((background * 16) | foreground);
  std::string mode = Setting("BRAILLE", "MODO", "0");
  s.brailleMode = mode.empty() ? 0 : (static_cast<unsigned char>(mode[0]) & 3);
  std::string zoom = Setting("VIDEO", "AMPLIF", "2", 2);
  s.zoom = zoom.empty() ? 0 : (static_cast<unsigned char>(zoom[0]) & 7);
  if (s.zoom == 0) s.zoom = 2;  // a zoom of 0 cannot magnify: the default instead
  s.fontFace = font.face;
  s.fontWidth = font.width;
  s.fontHeight = font.height;
  s.fontWeight = font.weight;
  if (!font.keepFont) {
    long v;
    if (s.fontFace.empty()) s.fontFace = Setting("VIDEO", "FONTE", "Lucida Console");
    if (s.fontWidth == 0)
      s.fontWidth = WholeNumber(Setting("VIDEO", "LARGURALETRA", ""), v) ? static_cast<int>(v) : 0;
    if (s.fontHeight == 0)
      s.fontHeight = WholeNumber(Setting("VIDEO", "ALTURALETRA", ""), v) ? static_cast<int>(v) : 0;
    // Only a weight the program chose itself is replaced by the file's.
    if (s.fontWeight != 0)
      s.fontWeight = WholeNumber(Setting("VIDEO", "PESOLETRA", "700"), v) ? static_cast<int>(v) : 0;
  }
  s.maximized = !Yes(Setting("VIDEO", "CANTOTELA", "SIM"));
  return s;
}

}  // namespace teluma::console
