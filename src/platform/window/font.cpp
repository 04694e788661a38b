#include "platform/window/font.hpp"

#include <fontconfig/fontconfig.h>

#include <cmath>

namespace teluma::platform::window {
namespace {

std::string Match(const std::string& face, bool bold, bool& mono) {
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(face.c_str()));
  if (!pattern) return {};
  FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  std::string file;
  if (match) {
    FcChar8* path = nullptr;
    int spacing = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
      file = reinterpret_cast<const char*>(path);
    mono = FcPatternGetInteger(match, FC_SPACING, 0, &spacing) == FcResultMatch &&
           spacing == FC_MONO;
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

}  // namespace

std::string FindFontFile(const std::string& face, bool bold) {
  if (!FcInit()) return {};
  bool mono = false;
  std::string file = Match(face, bold, mono);
  // A proportional face would break the grid: the system's fixed-pitch default takes over.
  if (!mono) {
    bool fallbackMono = false;
    std::string fallback = Match("monospace", bold, fallbackMono);
    if (!fallback.empty()) file = fallback;
  }
  return file;
}

int DefaultCellWidth(int workAreaWidth) {
  return static_cast<int>(std::lround(workAreaWidth / 1024.0 * 13));
}

int DefaultCellHeight(int workAreaHeight) {
  return static_cast<int>(std::lround(workAreaHeight / 734.0 * 28));
}

bool OpenCellFont(const std::string& file, int cellWidth, int cellHeight, bool bold, CellFont& out) {
  if (cellHeight < 4) cellHeight = 4;
  TTF_Font* font = TTF_OpenFont(file.c_str(), cellHeight);
  if (!font) return false;
  int height = TTF_FontHeight(font);
  if (height > 0 && height != cellHeight) {
    // Line height grows with the point size almost linearly: one correction is enough.
    int size = std::max(4, static_cast<int>(std::lround(double(cellHeight) * cellHeight / height)));
    TTF_CloseFont(font);
    font = TTF_OpenFont(file.c_str(), size);
    if (!font) return false;
  }
  if (bold) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
  int advance = 0;
  TTF_GlyphMetrics(font, 'M', nullptr, nullptr, nullptr, nullptr, &advance);
  out.font = font;
  out.cellHeight = cellHeight;
  out.cellWidth = cellWidth > 0 ? cellWidth : std::max(1, advance);
  out.ascent = std::min(cellHeight - 2, TTF_FontAscent(font));
  return true;
}

}  // namespace teluma::platform::window
