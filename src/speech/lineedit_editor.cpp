// The one-line field editor: every movement says what it reached, every deletion what it
// deleted, function keys read the field, the time or the date aloud.
#include <algorithm>
#include <string>

#include "console/TlCrt.hpp"
#include "numbers/tlHora.hpp"
#include "platform/events.hpp"
#include "speech/lineedit.hpp"
#include "speech/lineedit_keys.hpp"
#include "speech/review.hpp"
#include "speech/tlwin.hpp"

using namespace teluma::console;
using namespace teluma::numbers;
using namespace teluma::playback;

namespace teluma::speech {

namespace {

constexpr int32_t kLongestField = 2048;
constexpr int32_t kScreenColumns = 80;
constexpr int32_t kScreenRows = 25;
constexpr uint8_t kSelectionBackground = 0x80;

// Extended key codes (the second code of a two-code key).
enum : uint8_t {
  kF1 = 0x3B, kF4 = 0x3E, kF8 = 0x42, kF12 = 0x46, kHome = 0x47, kLeft = 0x4B, kRight = 0x4D,
  kEnd = 0x4F, kDelete = 0x53, kCtrlF1 = 0x5E, kCtrlF4 = 0x61, kCtrlF8 = 0x65, kCtrlF9 = 0x66,
  kAltF1 = 0x68, kCtrlLeft = 0x73, kCtrlRight = 0x74, kAlt1 = 0x78, kAlt0 = 0x81,
  kPaste = 0xFE, kCopy = 0xFF,
};

bool IsBlank(char c) { return c == ' '; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char ch) {
  const uint8_t c = static_cast<uint8_t>(ch);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128;
}
bool IsSecondCodePrefix(uint8_t k) { return k == 16 || k == 17 || k == 18; }

// Upper-cased consonants: a run made of these alone is spelled, not read.
bool IsConsonant(char upper) {
  return std::string_view("BCDFGHJKLMNPQRSTVXZ").find(upper) != std::string_view::npos;
}

class FieldEditor {
 public:
  FieldEditor(std::string& text, int32_t column, int32_t row, bool editable, int32_t width,
              int32_t maxLength)
      : text_(text), column_(column), row_(row), editable_(editable) {
    m_ = std::clamp(maxLength, 1, kLongestField);
    w_ = std::clamp(width, 0, m_);
    // A field ending in the last cell of the screen would scroll it when drawn.
    if (row_ == kScreenRows && column_ + w_ > kScreenColumns && w_ > 0) --w_;
    s_ = text.substr(0, std::min<size_t>(text.size(), m_));
    s_.resize(m_, ' ');
    original_ = s_;
  }

  uint8_t Run() {
    while (!done_) {
      KeepCursorVisible();
      Redraw();
      HandleKey();
      firstKey_ = false;
    }
    MoveCursor(column_, row_);
    Write(std::string_view(s_).substr(0, w_));
    MoveCursor(column_, row_);
    text_ = s_.substr(0, s_.find_last_not_of(' ') + 1);
    EditCursorPosition() = p_;
    return k_;
  }

 private:
  // --- positions (1-based) and the text ----------------------------------------------------
  char At(int32_t pos) const { return pos >= 1 && pos <= m_ ? s_[pos - 1] : ' '; }
  int32_t AfterLastNonBlank() const {
    const size_t last = s_.find_last_not_of(' ');
    return last == std::string::npos ? 1 : static_cast<int32_t>(last) + 2;
  }
  bool HasSelection() const { return a_ != 0 && a_ != e_; }
  void ClearSelection() { a_ = e_ = 0; }
  void OrderSelection() {
    if (a_ > e_) std::swap(a_, e_);
  }
  void Blank(int32_t from) { std::fill(s_.begin() + (from - 1), s_.end(), ' '); }
  void Finish(uint8_t key) {
    k_ = key;
    done_ = true;
  }

  // --- screen --------------------------------------------------------------------------------
  void KeepCursorVisible() {
    if (p_ < v_) v_ = p_;
    if (v_ + w_ < p_) v_ = p_ - w_;
  }

  std::string_view Visible() const {
    return std::string_view(s_).substr(std::min<size_t>(v_ - 1, s_.size()), w_);
  }

  void Redraw() {
    MoveCursor(column_, row_);
    const std::string_view shown = Visible();
    int32_t selFrom = 0, selTo = 0;  // visible offsets [selFrom, selTo) of the selection
    if (HasSelection()) {
      selFrom = std::clamp(std::min(a_, e_) - v_, 0, static_cast<int32_t>(shown.size()));
      selTo = std::clamp(std::max(a_, e_) - v_, 0, static_cast<int32_t>(shown.size()));
    }
    if (selFrom < selTo) {
      Write(shown.substr(0, selFrom));
      const uint8_t saved = TextAttr();
      TextAttr() = static_cast<uint8_t>((saved & 0x0F) | kSelectionBackground);
      Write(shown.substr(selFrom, selTo - selFrom));
      TextAttr() = saved;
      Write(shown.substr(selTo));
    } else {
      Write(shown);
    }
    if (shown.size() < static_cast<size_t>(kScreenColumns)) ClearToLineEnd();
    MoveCursor(column_ + p_ - v_, row_);
  }

  // --- keys ----------------------------------------------------------------------------------
  void HandleKey() {
    uint8_t t = WaitForKey();
    StopSpeech();
    if (t == 0) {
      k_ = WaitForKey();
      if (IsSecondCodePrefix(k_)) t = WaitForKey();
    }
    const KeyModifiers mods = HeldModifiers();
    if (t == 0) {
      if (mods.shift) {
        if (!HasSelection()) a_ = e_ = p_;
      } else if (k_ != kCopy && k_ != kPaste && k_ != kDelete) {
        // Delete keeps a selection made with Shift so that it can remove it.
        ClearSelection();
      }
      ExtendedKey(mods);
      if (mods.shift) e_ = p_;
      return;
    }
    if (t != 3 && t != 22 && t != 222 && t != 223) ClearSelection();
    k_ = t;
    ControlKey(t, mods);
  }

  void ControlKey(uint8_t t, const KeyModifiers& mods) {
    switch (t) {
      case 3: k_ = kCopy; return ExtendedKey(mods);
      case 22: k_ = kPaste; return ExtendedKey(mods);
      case 4:
        if (editable_) {
          if (p_ <= m_) Blank(p_);
          PlayPhrase("_APFCPO");
        }
        return;
      case 8:
        if (p_ == 1) return ShortBeep();
        --p_;
        return DeleteAt(true);
      case 9: case 10: case 13: case 27: return Finish(t);
      case 11: return SpeakText(std::to_string(p_));
      case 19:
        if (editable_) {
          s_.erase(0, std::min<size_t>(p_ - 1, s_.size()));
          s_.resize(m_, ' ');
          p_ = 1;
          PlayPhrase("_APICPO");
        }
        return;
      case 21:
        if (editable_) {
          s_ = original_;
          p_ = 1;
          for (int i = 0; i < 3; ++i) ShortBeep();
        }
        return;
      case 25:
        if (editable_) {
          Blank(1);
          PlayPhrase("_CPOAPA");
          p_ = 1;
        }
        return;
      case 28: return PlayDialTones(s_);
      case 127: return DeleteWord();
      case 222:
        while (SpeechBusy()) platform::WaitMessage();
        return SpeakText(s_);
      case 223: return;
      default: return OtherKey(t);
    }
  }

  void OtherKey(uint8_t t) {
    if (firstKey_ && s_.find_first_not_of(' ', std::min<size_t>(p_ - 1, s_.size())) !=
                         std::string::npos) {
      ShortClick();
      ShortClick();
      if (t >= 32 && editable_) Blank(1);
    }
    if (t >= 32) Insert(static_cast<char>(t));
  }

  void ExtendedKey(const KeyModifiers& mods) {
    switch (k_) {
      case kF1:
        if (mods.alt) return Finish(kAltF1);
        return SayNextWord();
      case kF4:
        EchoTyping() = !EchoTyping();
        PlayPhrase(EchoTyping() ? "_FALACI" : "_FALDLG");
        return;
      case kF8: return SpeakCurrentTime();
      case kF12: return OpenWordAtCursor();
      case kHome: p_ = 1; return;
      case kLeft:
        if (p_ <= 1) return ShortBeep();
        --p_;
        return SpeakChar(static_cast<uint8_t>(At(p_)));
      case kRight: return SayRight(mods.alt);
      case kEnd: p_ = AfterLastNonBlank(); return;
      case kDelete: return DeleteKey();
      case kCtrlF1: return SpeakText(s_);
      case kCtrlF4: return ChangeSpeed();
      case kCtrlF8: return SpeakCurrentDate();
      case kCtrlF9:
        if (mods.alt) return ScreenReview();
        return Finish(kCtrlF9);
      case kCtrlLeft: return WordLeft();
      case kCtrlRight: return WordRight();
      case kPaste: return Paste();
      case kCopy: return Copy();
      default:
        if (k_ >= kAlt1 && k_ <= kAlt0) return;
        return Finish(k_);
    }
  }

  // --- editing -------------------------------------------------------------------------------
  // A full field (its last character not a blank) takes nothing more: inserting would push
  // its last character out.
  void Insert(char c) {
    if (!editable_) return;
    if (p_ > m_ || s_.back() != ' ') return ShortBeep();
    s_.insert(s_.begin() + (p_ - 1), c);
    s_.pop_back();
    MoveCursor(column_ + p_ - v_, row_);
    Write(std::string_view(&c, 1));
    if (EchoTyping()) SpeakChar(static_cast<uint8_t>(c));
    ++p_;
  }

  // Removes the character at p, says "_DEL" when asked, then the removed character.
  void DeleteAt(bool sayDelete) {
    if (!editable_) return;
    if (p_ > m_) return ShortBeep();
    const char removed = s_[p_ - 1];
    s_.erase(p_ - 1, 1);
    s_.push_back(' ');
    MoveCursor(column_, row_);
    Write(Visible());
    if (sayDelete) PlayPhrase("_DEL");
    SpeakChar(static_cast<uint8_t>(removed));
  }

  void DeleteKey() {
    if (!HasSelection()) {
      ClearSelection();
      return DeleteAt(true);
    }
    OrderSelection();
    p_ = a_;
    DeleteRun(e_ - a_);
    ClearSelection();
  }

  // "_DEL" once, then each deleted character is said.
  void DeleteRun(int32_t count) {
    if (!editable_ || count <= 0) return;
    PlayPhrase("_DEL");
    for (int32_t i = 0; i < count; ++i) DeleteAt(false);
  }

  void DeleteWord() {
    if (p_ > 1 && !IsBlank(At(p_ - 1))) WordLeft();
    const int32_t from = p_;
    WordRight();
    const int32_t to = p_;
    WordLeft();
    DeleteRun(to - from);
  }

  // --- word moves ----------------------------------------------------------------------------
  // Moves q past a run of digits, or past a run of letters (at least one character).
  int32_t PastRun(int32_t q) const {
    if (IsDigit(At(q))) {
      while (q <= m_ && IsDigit(At(q))) ++q;
      return q;
    }
    ++q;
    while (q <= m_ && IsLetter(At(q))) ++q;
    return q;
  }

  void WordRight() {
    int32_t q = p_;
    if (q <= m_ && !IsBlank(At(q))) q = PastRun(q);
    while (q <= m_ && IsBlank(At(q))) ++q;
    if (q > m_) {
      p_ = AfterLastNonBlank();
      return ShortBeep();
    }
    p_ = q;
    ShortClick();
  }

  void WordLeft() {
    if (p_ <= 1) {
      p_ = 1;
      return ShortBeep();
    }
    int32_t q = std::min(p_, m_ + 1);
    while (q > 1 && IsBlank(At(q - 1))) --q;
    if (q > 1) {
      if (IsDigit(At(q - 1))) {
        while (q > 1 && IsDigit(At(q - 1))) --q;
      } else {
        --q;
        if (IsLetter(At(q)))
          while (q > 1 && IsLetter(At(q - 1))) --q;
      }
    }
    p_ = q;
    ShortClick();
  }

  // --- reading aloud -------------------------------------------------------------------------
  void SayRight(bool alt) {
    if (p_ > m_) return ShortBeep();
    const uint8_t c = static_cast<uint8_t>(At(p_));
    if (alt && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
      PlayPhrase("_FON" + std::to_string(c));
    else
      SpeakChar(c);
    ++p_;
  }

  void SayNextWord() {
    const int32_t start = p_;
    int32_t q = p_;
    while (q <= m_ && IsBlank(At(q))) ++q;
    if (q > m_) {
      p_ = start;
      return ShortBeep();
    }
    const char first = At(q);
    int32_t end = q;
    if (IsDigit(first) || first == '-') {
      while (end <= m_ && (IsDigit(At(end)) || At(end) == '-')) ++end;
      SpeakText(s_.substr(q - 1, end - q));
    } else if (IsLetter(UpperText(std::string(1, first))[0])) {
      bool onlyConsonants = true;
      while (end <= m_ && IsLetter(At(end))) {
        onlyConsonants = onlyConsonants && IsConsonant(UpperText(std::string(1, At(end)))[0]);
        ++end;
      }
      const std::string word = s_.substr(q - 1, end - q);
      if (onlyConsonants) SpellText(word);
      else SpeakText(word);
    } else {
      end = q + 1;
      SpellText(std::string(1, first));
    }
    p_ = end;
  }

  // F12: the run of non-blanks around the cursor (also the one just before it, where the
  // cursor stands after typing a word), without surrounding punctuation.
  void OpenWordAtCursor() {
    int32_t from = p_, to = p_;  // the run is [from, to)
    while (from > 1 && !IsBlank(At(from - 1))) --from;
    while (to <= m_ && !IsBlank(At(to))) ++to;
    const std::string word = s_.substr(from - 1, to - from);
    constexpr std::string_view kStrip = "\"(*-.<=>[_{";
    const size_t first = word.find_first_not_of(kStrip);
    if (first == std::string::npos) return ShortBeep();
    const size_t last = word.find_last_not_of(kStrip);
    OpenHelpPage(word.substr(first, last - first + 1));
  }

  void ChangeSpeed() {
    PlayPhrase("_VELOC");
    uint8_t key = 0;
    do {
      key = WaitForKey();
      StopSpeech();
      SpeakChar(key);
    } while (KeyWaiting());
    if (key == 27 || key == 13) return;
    SpeechEnd();
    SpeechStart(key - '0', PhraseFolder());
  }

  // --- clipboard -----------------------------------------------------------------------------
  void Paste() {
    if (!editable_) return;
    std::string pasted = PasteFromClipboard(static_cast<size_t>(m_) + 1);
    pasted = pasted.substr(0, std::min(pasted.find('\r'), pasted.find('\n')));
    if (firstKey_) {
      ShortClick();
      ShortClick();
      Blank(1);
    }
    if (HasSelection()) {
      OrderSelection();
      p_ = a_;
    } else {
      a_ = e_ = p_;
    }
    const std::string_view s = s_;
    std::string next(s.substr(0, std::min<size_t>(a_ - 1, s.size())));
    next += pasted;
    next += s.substr(std::min<size_t>(e_ - 1, s.size()));
    next.resize(m_, ' ');
    s_ = next;
    e_ = a_ + static_cast<int32_t>(pasted.size());
  }

  void Copy() {
    std::string copied;
    if (HasSelection()) {
      OrderSelection();
      copied = s_.substr(std::min<size_t>(a_ - 1, s_.size()), e_ - a_);
    } else {
      copied = s_.substr(0, s_.find_last_not_of(' ') + 1) + "\r\n";
    }
    CopyToClipboard(copied);
  }

  std::string& text_;
  const int32_t column_, row_;
  const bool editable_;
  int32_t m_ = 1, w_ = 0;
  std::string s_, original_;
  int32_t p_ = 1, v_ = 1;
  int32_t a_ = 0, e_ = 0;
  bool firstKey_ = true;
  bool done_ = false;
  uint8_t k_ = ' ';
};

}  // namespace

uint8_t EditLine(std::string& text, int32_t column, int32_t row, bool editable, int32_t width,
                 int32_t maxLength) {
  return FieldEditor(text, column, row, editable, width, maxLength).Run();
}

}  // namespace teluma::speech
