#include "platform/headless/keyscript.hpp"

#include <cctype>

#include "platform/cp1252.hpp"

namespace teluma::platform::headless {
namespace {

bool StartsWithBlind(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

// Splits a line into items: blanks separate them, a quoted text is one item.
std::vector<std::string> SplitItems(std::string_view line, bool& unterminated) {
  std::vector<std::string> items;
  unterminated = false;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    std::string item;
    if (line[i] == '"' && i + 1 < line.size()) {
      // A quoted text; \" and \\ stand for themselves inside it.
      item += '"';
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          item += line[i++];
          continue;
        }
        if (c == '"') {
          closed = true;
          break;
        }
        item += c;
      }
      if (!closed) unterminated = true;
      item += '"';
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
        item += line[i++];
    }
    items.push_back(item);
  }
  return items;
}

}  // namespace

bool ParseKeyItem(std::string_view item, std::vector<KeyStroke>& out) {
  if (item.size() >= 2 && item.front() == '"' && item.back() == '"') {
    std::string text = Utf8ToCp1252(item.substr(1, item.size() - 2));
    for (unsigned char c : text) out.push_back(CharStroke(c));
    return true;
  }
  if (item.size() > 6 && StartsWithBlind(item, "chord+")) {
    // Keys held down together: "Chord+fd", "Chord+Space+fdk".
    std::vector<KeyStroke> keys;
    if (item.back() == '+') return false;
    std::string_view rest = item.substr(6);
    while (!rest.empty()) {
      size_t plus = rest.find('+');
      std::string_view part = rest.substr(0, plus);
      rest = plus == std::string_view::npos ? std::string_view{} : rest.substr(plus + 1);
      if (part.empty()) return false;
      KeyStroke named;
      if (part.size() > 1 && NamedStroke(part, 0, named)) {
        keys.push_back(named);
        continue;
      }
      for (char c : part) {
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
        keys.push_back(CharStroke(static_cast<uint8_t>(std::tolower(static_cast<unsigned char>(c)))));
      }
    }
    if (keys.empty()) return false;
    KeyStroke chord = keys[0];
    chord.together.assign(keys.begin() + 1, keys.end());
    out.push_back(chord);
    return true;
  }
  int mods = 0;
  for (;;) {
    if (item.size() > 5 && StartsWithBlind(item, "ctrl+")) {
      mods |= kCtrl;
      item.remove_prefix(5);
    } else if (item.size() > 4 && StartsWithBlind(item, "alt+")) {
      mods |= kAlt;
      item.remove_prefix(4);
    } else if (item.size() > 6 && StartsWithBlind(item, "shift+")) {
      mods |= kShift;
      item.remove_prefix(6);
    } else {
      break;
    }
  }
  KeyStroke stroke;
  if (NamedStroke(item, mods, stroke)) {
    out.push_back(stroke);
    return true;
  }
  std::string c = Utf8ToCp1252(item);
  if (c.size() != 1) return false;
  unsigned char ch = static_cast<unsigned char>(c[0]);
  if (ch < 32) return false;
  out.push_back(CharStroke(ch, mods));
  return true;
}

KeyScript ParseKeyScript(std::string_view text) {
  KeyScript script;
  int number = 0;
  // Editors on other systems start UTF-8 files with a byte-order mark; it is not a key.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++number;
    bool unterminated = false;
    auto items = SplitItems(line, unterminated);
    if (items.empty() || items[0][0] == '#') continue;
    ScriptLine out;
    size_t first = 0;
    const std::string& head = items[0];
    if (head.size() > 1 && head[0] == '+') {
      bool digits = true;
      int64_t ms = 0;
      for (size_t i = 1; i < head.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(head[i]))) digits = false;
        else if (ms < 100000000000LL) ms = ms * 10 + (head[i] - '0');
      }
      if (digits) {
        out.timed = true;
        out.delayMs = ms;
        first = 1;
      }
    }
    if (unterminated)
      script.errors.push_back(std::to_string(number) + ": aspas sem fim");
    for (size_t i = first; i < items.size(); ++i) {
      if (!ParseKeyItem(items[i], out.keys))
        script.errors.push_back(std::to_string(number) + ": " + items[i]);
    }
    if (!out.keys.empty() || out.timed) script.lines.push_back(std::move(out));
  }
  return script;
}

}  // namespace teluma::platform::headless
