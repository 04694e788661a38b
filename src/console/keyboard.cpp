#include "console/keyboard.hpp"

#include <cstring>

#include "platform/events.hpp"
#include "platform/keys.hpp"

namespace teluma::console {
namespace {

using platform::kAlt;
using platform::kCtrl;
using platform::kShift;

struct Translation {
  int vk;
  uint8_t plain;
  uint8_t ctrl;
};

const Translation kTable[] = {
    {0x70, 0x3B, 0x5E}, {0x71, 0x3C, 0x5F}, {0x72, 0x3D, 0x60}, {0x73, 0x3E, 0x61},
    {0x74, 0x3F, 0x62}, {0x75, 0x40, 0x63}, {0x76, 0x41, 0x64}, {0x77, 0x42, 0x65},
    {0x78, 0x43, 0x66}, {0x79, 0x44, 0x67}, {0x7A, 0x45, 0x68}, {0x7B, 0x46, 0x69},
    {platform::VK_INSERT, 0x52, 0xFF}, {platform::VK_DELETE, 0x53, 0x53},
    {platform::VK_HOME, 0x47, 0x77},   {platform::VK_END, 0x4F, 0x75},
    {platform::VK_PRIOR, 0x49, 0x84},  {platform::VK_NEXT, 0x51, 0x76},
    {platform::VK_UP, 0x48, 0x71},     {platform::VK_DOWN, 0x50, 0x72},
    {platform::VK_LEFT, 0x4B, 0x73},   {platform::VK_RIGHT, 0x4D, 0x74},
};

// Scan codes of the letters A..Z, the codes Alt+letter gives.
const uint8_t kAltLetters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                 0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

const char kBraille[65] =
    " a,b'k;l"
    "^cif\xED" "msp"
    "~e:h*o!r"
    "\xAC" "dj" "g\xE3" "ntq"
    "\xFD\xE2?\xEA-u\"v"
    "{\xEE\xF5\xE0\xF3x\xE8\xE7"
    "$\xFB\xFF\xFC}z=\xE1"
    "_\xF4w\xEF#y\xFA\xE9";

int ChordBit(int vk) {
  switch (vk) {
    case 'F': return 1;
    case 'D': return 2;
    case 'S': return 4;
    case 'J': return 8;
    case 'K': return 16;
    case 'L': return 32;
    case platform::VK_SPACE: return 0x40;
    default: return 0;
  }
}

}  // namespace

bool KeyQueue::Push(uint8_t code, int mods) {
  if (count_ >= kCapacity) return false;
  mods_[count_] = static_cast<uint8_t>(mods);
  codes_[count_++] = code;
  return true;
}

bool KeyQueue::PushPair(uint8_t code, int mods) {
  if (count_ > kCapacity - 2) return false;
  Push(0, mods);
  return Push(code, mods);
}

uint8_t KeyQueue::Take(int* mods) {
  if (count_ == 0) return 0;
  uint8_t first = codes_[0];
  if (mods) *mods = mods_[0];
  std::memmove(codes_.data(), codes_.data() + 1, count_ - 1);
  std::memmove(mods_.data(), mods_.data() + 1, count_ - 1);
  --count_;
  return first;
}

uint8_t BrailleCell(int dots) { return static_cast<uint8_t>(kBraille[dots & 63]); }

bool TranslateKey(int vk, bool ctrl, bool shift, uint8_t& code) {
  for (const auto& t : kTable) {
    if (t.vk != vk) continue;
    code = ctrl ? t.ctrl : t.plain;
    if (vk == platform::VK_INSERT && !ctrl && shift) code = 0xFE;
    return true;
  }
  return false;
}

void Keyboard::ClearChord() {
  chord = held = 0;
  capitalNext = capsLock = numberMode = false;
}

void Keyboard::KeyDown(int vk, int mods) {
  bool ctrl = mods & kCtrl, alt = mods & kAlt;
  if (checkBreak && vk == platform::VK_CANCEL) {
    if (onBreak) onBreak();
    return;
  }
  if (alt) {
    if (ctrl && vk == platform::VK_F12) {
      if (onSetBrailleMode) onSetBrailleMode(0);
      return;
    }
    if (ctrl && vk == platform::VK_F11) {
      if (onSetBrailleMode) onSetBrailleMode(brailleMode + 1);
      return;
    }
    if (vk >= '0' && vk <= '9') {
      queue.PushPair(vk == '0' ? 0x81 : static_cast<uint8_t>(0x78 + vk - '1'), mods);
      return;
    }
    if (vk >= 'A' && vk <= 'Z') {
      queue.PushPair(kAltLetters[vk - 'A'], mods);
      return;
    }
  }
  if (!ctrl && brailleMode != 0 && ChordBit(vk)) {
    chord |= ChordBit(vk);
    held |= ChordBit(vk);
    return;
  }
  if (queue.Count() > KeyQueue::kCapacity - 2) return;
  uint8_t code;
  if (TranslateKey(vk, ctrl, mods & kShift, code)) queue.PushPair(code, mods);
}

void Keyboard::SysKeyDown(int vk, int mods) {
  if (checkBreak && vk != platform::VK_LEFT && vk != platform::VK_RIGHT) return;
  KeyDown(vk, mods);
}

uint8_t Keyboard::SignRules(uint8_t c) {
  if (numberMode) {
    if (c == '\'') c = '.';
    else if (c >= 'a' && c <= 'i') c = static_cast<uint8_t>('1' + (c - 'a'));
    else if (c == 'j') c = '0';
    else if (c == '~') numberMode = false;
  }
  if ((capitalNext || capsLock) && c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 32);
  if (c == '#') {
    numberMode = true;
    return kNoCharacter;
  }
  if (c == '{') {
    if (capitalNext) capsLock = true;
    capitalNext = true;
    return kNoCharacter;
  }
  capitalNext = false;
  return c;
}

void Keyboard::KeyUp(int vk, int mods) {
  if (brailleMode == 0) return;
  bool letter = vk >= 'A' && vk <= 'Z';
  if ((mods & kCtrl) || (vk != platform::VK_SPACE && !letter)) {
    capitalNext = capsLock = numberMode = false;
    return;
  }
  held &= ~ChordBit(vk);
  if (held != 0) return;
  uint8_t c;
  if (chord & 0x40) {
    capitalNext = capsLock = numberMode = false;
    int dots = chord & 63;
    c = dots == 0 ? ' ' : static_cast<uint8_t>(BrailleCell(dots) & 0x1F);
  } else {
    c = BrailleCell(chord);
    if (brailleMode == 2) c = SignRules(c);
  }
  if (c != kNoCharacter && queue.Count() <= KeyQueue::kCapacity - 1) queue.Push(c);
  chord = 0;
}

void Keyboard::Char(int code, int mods) {
  if (brailleMode != 0 && (code == ' ' || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z')))
    return;
  if (queue.Count() >= KeyQueue::kCapacity) return;
  bool ctrl = mods & kCtrl;
  if (code == 8) code = ctrl ? 127 : 8;
  else if (code == 13) code = ctrl ? 10 : 13;
  queue.Push(static_cast<uint8_t>(code), mods);
}

void Keyboard::Focus(bool gained) {
  focused = gained;
  if (focusKeys) queue.Push(gained ? 222 : 223);
}

}  // namespace teluma::console
