// The console font: a face found by fontconfig (a monospace face when the named one is not
// installed or not fixed-pitch) opened with SDL2_ttf at the cell height asked for.
#pragma once
#include <SDL_ttf.h>

#include <string>

namespace teluma::platform::window {

// The font file fontconfig gives for a face name (UTF-8), preferring fixed-pitch faces of the
// weight asked for; empty when fontconfig finds nothing at all.
std::string FindFontFile(const std::string& face, bool bold);

// Cell sizes when the settings give none: the work-area rule of the console (13 pixels wide
// per 1024 of work-area width, 28 high per 734 of height), rounded to the nearest pixel.
int DefaultCellWidth(int workAreaWidth);
int DefaultCellHeight(int workAreaHeight);

struct CellFont {
  TTF_Font* font = nullptr;
  int cellWidth = 0, cellHeight = 0, ascent = 0;
};

// Opens file at the point size whose line height is closest to cellHeight. The font's own
// advance is kept when cellWidth is 0.
bool OpenCellFont(const std::string& file, int cellWidth, int cellHeight, bool bold, CellFont& out);

}  // namespace teluma::platform::window
