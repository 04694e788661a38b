#include "platform/keys.hpp"

#include <cctype>
#include <cstring>

namespace teluma::platform {
namespace {

struct Named {
  const char* name;
  int vk;
  int ch;
};

const Named kNames[] = {
    {"Enter", VK_RETURN, 13}, {"Esc", VK_ESCAPE, 27},   {"Escape", VK_ESCAPE, 27},
    {"Space", VK_SPACE, 32},  {"Tab", VK_TAB, 9},       {"Backspace", VK_BACK, 8},
    {"Up", VK_UP, -1},        {"Down", VK_DOWN, -1},    {"Left", VK_LEFT, -1},
    {"Right", VK_RIGHT, -1},  {"Home", VK_HOME, -1},    {"End", VK_END, -1},
    {"PgUp", VK_PRIOR, -1},   {"PgDn", VK_NEXT, -1},    {"Insert", VK_INSERT, -1},
    {"Delete", VK_DELETE, -1}, {"Break", VK_CANCEL, -1},
};

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

KeyStroke CharStroke(uint8_t c, int mods) {
  KeyStroke k;
  k.ch = c;
  k.mods = mods;
  if (c >= 'a' && c <= 'z') k.vk = c - 32;
  else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ') k.vk = c;
  else if (c == 13) k.vk = VK_RETURN;
  else if (c == 8) k.vk = VK_BACK;
  else if (c == 9) k.vk = VK_TAB;
  else if (c == 27) k.vk = VK_ESCAPE;
  else if (c == '[') k.vk = VK_OEM_4;
  else if (c == '\\') k.vk = VK_OEM_5;
  else if (c == ']') k.vk = VK_OEM_6;
  if (c >= 'A' && c <= 'Z') k.mods |= kShift;
  return WithModifiers(k);
}

KeyStroke WithModifiers(KeyStroke k) {
  bool ctrl = k.mods & kCtrl, alt = k.mods & kAlt;
  // Shift with a letter types the capital, as the keyboard does.
  if ((k.mods & kShift) && k.ch >= 'a' && k.ch <= 'z') k.ch -= 32;
  if (alt) {
    k.ch = -1;  // Alt combinations type nothing the console reads
  } else if (ctrl && k.ch >= 0) {
    // As the system's keyboard does: Ctrl+letter 1..26, Ctrl+[ \ ] 27 28 29; Enter, Backspace,
    // Esc and the space bar keep their characters (the console turns 13 and 8 into 10 and 127).
    if (k.vk >= 'A' && k.vk <= 'Z') k.ch = k.vk - 'A' + 1;
    else if (k.vk >= VK_OEM_4 && k.vk <= VK_OEM_6) k.ch = 27 + (k.vk - VK_OEM_4);
    else if (k.ch != 13 && k.ch != 8 && k.ch != 27 && k.ch != 28 && k.ch != 32) k.ch = -1;
  }
  return k;
}

bool NamedStroke(std::string_view name, int mods, KeyStroke& out) {
  for (const auto& n : kNames) {
    if (SameText(name, n.name)) {
      out = WithModifiers({n.vk, n.ch, mods});
      return true;
    }
  }
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    int number = 0;
    for (char c : name.substr(1)) {
      if (c < '0' || c > '9') return false;
      number = number * 10 + (c - '0');
      if (number > 12) return false;
    }
    if (number < 1) return false;
    out = {VK_F1 + number - 1, -1, mods};
    return true;
  }
  return false;
}

std::vector<Message> StrokeMessages(const KeyStroke& k) {
  std::vector<Message> out;
  bool sys = (k.mods & kAlt) && !(k.mods & kCtrl);
  out.push_back({sys ? MessageKind::SysKeyDown : MessageKind::KeyDown, k.vk, k.mods});
  if (k.ch >= 0) out.push_back({MessageKind::Char, k.ch, k.mods});
  for (const auto& t : k.together) {
    out.push_back({MessageKind::KeyDown, t.vk, t.mods});
    if (t.ch >= 0) out.push_back({MessageKind::Char, t.ch, t.mods});
  }
  out.push_back({MessageKind::KeyUp, k.vk, k.mods});
  for (const auto& t : k.together) out.push_back({MessageKind::KeyUp, t.vk, t.mods});
  return out;
}

void PostStroke(const KeyStroke& stroke) {
  for (const auto& m : StrokeMessages(stroke)) PostMessage(m);
}

}  // namespace teluma::platform
