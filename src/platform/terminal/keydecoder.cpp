#include "platform/terminal/keydecoder.hpp"

#include "platform/cp1252.hpp"

namespace teluma::platform::terminal {
namespace {

// xterm's modifier parameter: 1 + (1 Shift, 2 Alt, 4 Ctrl).
int Modifiers(int param) {
  if (param < 2) return 0;
  int bits = param - 1, mods = 0;
  if (bits & 1) mods |= kShift;
  if (bits & 2) mods |= kAlt;
  if (bits & 4) mods |= kCtrl;
  return mods;
}

void Push(std::vector<TerminalInput>& out, KeyStroke stroke) {
  out.push_back({TerminalInput::Key, WithModifiers(stroke)});
}

// The key of a final letter of "ESC [ ... X" or "ESC O X".
int LetterKey(char c) {
  switch (c) {
    case 'A': return VK_UP;
    case 'B': return VK_DOWN;
    case 'C': return VK_RIGHT;
    case 'D': return VK_LEFT;
    case 'H': return VK_HOME;
    case 'F': return VK_END;
    case 'P': return VK_F1;
    case 'Q': return VK_F1 + 1;
    case 'R': return VK_F1 + 2;
    case 'S': return VK_F1 + 3;
    default: return 0;
  }
}

// The key of "ESC [ n ~".
int TildeKey(int n) {
  switch (n) {
    case 1: case 7: return VK_HOME;
    case 2: return VK_INSERT;
    case 3: return VK_DELETE;
    case 4: case 8: return VK_END;
    case 5: return VK_PRIOR;
    case 6: return VK_NEXT;
    case 11: case 12: case 13: case 14: case 15: return VK_F1 + n - 11;
    case 17: case 18: case 19: case 20: case 21: return VK_F1 + 5 + n - 17;
    case 23: case 24: return VK_F1 + 10 + n - 23;
    default: return 0;
  }
}

// A control byte or a character typed with the given modifiers.
KeyStroke ByteStroke(unsigned char c, int mods) {
  switch (c) {
    case 13: return {VK_RETURN, 13, mods};
    case 10: return {VK_RETURN, 13, mods | kCtrl};  // Ctrl+Enter (Ctrl+J) in most terminals
    case 9: return {VK_TAB, 9, mods};
    case 27: return {VK_ESCAPE, 27, mods};
    case 127: return {VK_BACK, 8, mods};
    case 8: return {VK_BACK, 8, mods | kCtrl};
    case 0: return {VK_SPACE, 32, mods | kCtrl};  // Ctrl+Space
    // Ctrl+\ types 28 as in the system's window (the line editor's dial tones); a terminal has
    // no Break key, so Ctrl+Break exists only in the window and the key script.
    case 28: return {VK_OEM_5, 28, mods | kCtrl};
    default: break;
  }
  if (c < 32) return {'A' + c - 1, c, mods | kCtrl};
  KeyStroke k = CharStroke(c, mods);
  return k;
}

// The stroke of a Unicode code point with modifiers (kitty / modifyOtherKeys reports).
bool CodePointStroke(long cp, int mods, KeyStroke& out) {
  if (cp < 0) return false;
  if (cp < 128) {
    out = ByteStroke(static_cast<unsigned char>(cp), 0);
    out.mods |= mods;
    if (cp >= 'a' && cp <= 'z') out.vk = static_cast<int>(cp) - 32;
    return true;
  }
  int c = UnicodeToCp1252(static_cast<char32_t>(cp));
  if (c < 0) return false;
  out = CharStroke(static_cast<uint8_t>(c), mods);
  return true;
}

}  // namespace

void KeyDecoder::Feed(std::string_view bytes, std::vector<TerminalInput>& out) {
  pending_.append(bytes);
  size_t used;
  while (!pending_.empty() && (used = DecodeOne(pending_, false, out)) > 0) pending_.erase(0, used);
}

void KeyDecoder::Flush(std::vector<TerminalInput>& out) {
  size_t used;
  while (!pending_.empty() && (used = DecodeOne(pending_, true, out)) > 0) pending_.erase(0, used);
  pending_.clear();
}

size_t KeyDecoder::DecodeOne(std::string_view s, bool final, std::vector<TerminalInput>& out) {
  unsigned char c = static_cast<unsigned char>(s[0]);
  if (c == 27) {
    if (s.size() == 1) {
      if (!final) return 0;
      Push(out, ByteStroke(27, 0));
      return 1;
    }
    char next = s[1];
    if (next == '[' || next == 'O') {
      // ESC [ params final  /  ESC O final
      size_t i = 2;
      std::vector<long> params{0};
      bool any = false;
      char lead = 0;
      if (next == '[' && i < s.size() && (s[i] == '<' || s[i] == '>' || s[i] == '?' || s[i] == '[')) lead = s[i++];
      for (; i < s.size(); ++i) {
        char d = s[i];
        if (d >= '0' && d <= '9') {
          if (params.back() < 100000) params.back() = params.back() * 10 + (d - '0');
          any = true;
        } else if (d == ';' || d == ':') {
          params.push_back(0);
        } else {
          break;
        }
      }
      if (i >= s.size()) {
        if (!final) return 0;
        // Cut off: what came is taken as Alt+[ and the rest as typed.
        Push(out, ByteStroke(static_cast<unsigned char>(next), kAlt));
        return 2;
      }
      char fin = s[i];
      size_t used = i + 1;
      if (lead == '[') {  // Linux console F1..F5: ESC [ [ A..E
        if (fin >= 'A' && fin <= 'E') Push(out, {VK_F1 + fin - 'A', -1, 0});
        return used;
      }
      if (lead) return used;  // private reports we did not ask for
      int mods = params.size() > 1 ? Modifiers(static_cast<int>(params[1])) : 0;
      if (next == 'O' && any) mods = Modifiers(static_cast<int>(params[0]));
      if (fin == 'I' && next == '[') {
        out.push_back({TerminalInput::FocusIn, {}});
        return used;
      }
      if (fin == 'O' && next == '[') {
        out.push_back({TerminalInput::FocusOut, {}});
        return used;
      }
      if (fin == 'Z') {  // Shift+Tab
        Push(out, {VK_TAB, 9, kShift});
        return used;
      }
      if (int vk = LetterKey(fin)) {
        Push(out, {vk, -1, mods});
        return used;
      }
      if (fin == '~') {
        if (params[0] == 27 && params.size() >= 3) {  // modifyOtherKeys: ESC [ 27 ; mod ; code ~
          KeyStroke k;
          if (CodePointStroke(params[2], Modifiers(static_cast<int>(params[1])), k)) Push(out, k);
          return used;
        }
        if (int vk = TildeKey(static_cast<int>(params[0]))) Push(out, {vk, -1, mods});
        return used;
      }
      if (fin == 'u') {  // ESC [ code ; mod u
        KeyStroke k;
        if (CodePointStroke(params[0], mods, k)) Push(out, k);
        return used;
      }
      return used;  // unknown sequence: dropped whole
    }
    // ESC followed by a key: that key with Alt.
    std::vector<TerminalInput> inner;
    size_t used = DecodeOne(s.substr(1), final, inner);
    if (used == 0) return 0;
    for (auto& in : inner) {
      if (in.kind == TerminalInput::Key) {
        in.stroke.mods |= kAlt;
        in.stroke = WithModifiers(in.stroke);
      }
      out.push_back(in);
    }
    return used + 1;
  }
  if (c < 0x80) {
    Push(out, ByteStroke(c, 0));
    return 1;
  }
  // UTF-8 sequence; malformed bytes are taken as Windows-1252.
  size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  if (length > 1 && s.size() < length && !final) {
    bool continuation = true;
    for (size_t i = 1; i < s.size(); ++i)
      if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) continuation = false;
    if (continuation) return 0;
  }
  if (length > s.size()) length = 1;
  for (size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) length = 1;
  std::string text = Utf8ToCp1252(s.substr(0, length));
  for (unsigned char b : text) Push(out, CharStroke(b, 0));
  return length;
}

}  // namespace teluma::platform::terminal
