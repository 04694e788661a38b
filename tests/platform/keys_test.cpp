#include <gtest/gtest.h>

#include <random>

#include "platform/headless/keyscript.hpp"
#include "platform/keys.hpp"
#include "platform/terminal/keydecoder.hpp"

using namespace teluma;

using namespace platform;
using headless::ParseKeyScript;
using terminal::KeyDecoder;
using terminal::TerminalInput;

TEST(KeyScript, ItemsNamesAndPrefixes) {
  auto s = ParseKeyScript(
      "# comment\n\nEnter esc Space Tab Backspace\n+250 Ctrl+F8 Alt+Ctrl+F9 Shift+Right\n"
      "\"Ana Maria\" \xC3\xA7 * + Ctrl+y\n+x F13\n");
  ASSERT_EQ(s.lines.size(), 3u);
  EXPECT_FALSE(s.lines[0].timed);
  EXPECT_EQ(s.lines[0].keys[0], (KeyStroke{VK_RETURN, 13, 0}));
  EXPECT_EQ(s.lines[0].keys[1], (KeyStroke{VK_ESCAPE, 27, 0}));
  EXPECT_EQ(s.lines[0].keys[4], (KeyStroke{VK_BACK, 8, 0}));
  EXPECT_TRUE(s.lines[1].timed);
  EXPECT_EQ(s.lines[1].delayMs, 250);
  EXPECT_EQ(s.lines[1].keys[0], (KeyStroke{VK_F1 + 7, -1, kCtrl}));
  EXPECT_EQ(s.lines[1].keys[1], (KeyStroke{VK_F1 + 8, -1, kCtrl | kAlt}));
  EXPECT_EQ(s.lines[1].keys[2], (KeyStroke{VK_RIGHT, -1, kShift}));
  auto& typed = s.lines[2].keys;
  ASSERT_EQ(typed.size(), 9u + 4u);
  EXPECT_EQ(typed[0], (KeyStroke{'A', 'A', kShift}));
  EXPECT_EQ(typed[3], (KeyStroke{' ', ' ', 0}));
  EXPECT_EQ(typed[9].ch, 0xE7);  // UTF-8 in, Windows-1252 out
  EXPECT_EQ(typed[10].ch, '*');
  EXPECT_EQ(typed[11].ch, '+');
  EXPECT_EQ(typed[12], (KeyStroke{'Y', 25, kCtrl}));
  // "+x" is not a delay and F13 no key: both are reported, the line gives nothing.
  EXPECT_EQ(s.errors.size(), 2u);
}

TEST(KeyScript, Chords) {
  auto s = ParseKeyScript("Chord+fd Chord+Space+f+d+k Chord+x+ Chord+\n");
  ASSERT_EQ(s.lines.size(), 1u);
  ASSERT_EQ(s.lines[0].keys.size(), 2u);
  auto messages = StrokeMessages(s.lines[0].keys[0]);
  std::vector<std::pair<MessageKind, int64_t>> seen;
  for (auto& m : messages) seen.push_back({m.kind, m.a});
  EXPECT_EQ(seen, (std::vector<std::pair<MessageKind, int64_t>>{{MessageKind::KeyDown, 'F'},
                                                                 {MessageKind::Char, 'f'},
                                                                 {MessageKind::KeyDown, 'D'},
                                                                 {MessageKind::Char, 'd'},
                                                                 {MessageKind::KeyUp, 'F'},
                                                                 {MessageKind::KeyUp, 'D'}}));
  EXPECT_EQ(s.lines[0].keys[1].vk, VK_SPACE);
  EXPECT_EQ(s.lines[0].keys[1].together.size(), 3u);
  EXPECT_EQ(s.errors.size(), 2u);
}

TEST(KeyStrokes, MessagesAsTheWindowSendsThem) {
  auto up = StrokeMessages({VK_UP, -1, 0});
  ASSERT_EQ(up.size(), 2u);
  EXPECT_EQ(up[0].kind, MessageKind::KeyDown);
  EXPECT_EQ(up[1].kind, MessageKind::KeyUp);
  auto a = StrokeMessages(CharStroke('a'));
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[0].a, 'A');
  EXPECT_EQ(a[1].kind, MessageKind::Char);
  EXPECT_EQ(a[1].a, 'a');
  auto alt = StrokeMessages(CharStroke('x', kAlt));
  ASSERT_EQ(alt.size(), 2u);
  EXPECT_EQ(alt[0].kind, MessageKind::SysKeyDown);
  auto altCtrl = StrokeMessages(CharStroke('x', kAlt | kCtrl));
  EXPECT_EQ(altCtrl[0].kind, MessageKind::KeyDown);
  KeyStroke ctrlEnter;
  ASSERT_TRUE(NamedStroke("enter", kCtrl, ctrlEnter));
  EXPECT_EQ(ctrlEnter.ch, 13);  // the console turns it into 10
  KeyStroke f0;
  EXPECT_FALSE(NamedStroke("F0", 0, f0));
}

namespace {
std::vector<TerminalInput> Decode(const std::string& bytes, bool flush = true) {
  KeyDecoder d;
  std::vector<TerminalInput> out;
  d.Feed(bytes, out);
  if (flush) d.Flush(out);
  return out;
}
KeyStroke First(const std::string& bytes) {
  auto in = Decode(bytes);
  EXPECT_EQ(in.size(), 1u) << bytes;
  return in.empty() ? KeyStroke{} : in[0].stroke;
}
}  // namespace

TEST(TerminalKeys, XtermSequences) {
  EXPECT_EQ(First("\x1b[A"), (KeyStroke{VK_UP, -1, 0}));
  EXPECT_EQ(First("\x1bOB"), (KeyStroke{VK_DOWN, -1, 0}));
  EXPECT_EQ(First("\x1b[1;5C"), (KeyStroke{VK_RIGHT, -1, kCtrl}));
  EXPECT_EQ(First("\x1b[1;3D"), (KeyStroke{VK_LEFT, -1, kAlt}));
  EXPECT_EQ(First("\x1b[5~"), (KeyStroke{VK_PRIOR, -1, 0}));
  EXPECT_EQ(First("\x1b[3;2~"), (KeyStroke{VK_DELETE, -1, kShift}));
  EXPECT_EQ(First("\x1b[15~"), (KeyStroke{VK_F1 + 4, -1, 0}));
  EXPECT_EQ(First("\x1b[21~"), (KeyStroke{VK_F1 + 9, -1, 0}));
  EXPECT_EQ(First("\x1b[24;7~"), (KeyStroke{VK_F12, -1, kCtrl | kAlt}));
  EXPECT_EQ(First("\x1b[1;2Q"), (KeyStroke{VK_F1 + 1, -1, kShift}));
  EXPECT_EQ(First("\x1b[[C"), (KeyStroke{VK_F1 + 2, -1, 0}));
  EXPECT_EQ(First("\x1b[H"), (KeyStroke{VK_HOME, -1, 0}));
  EXPECT_EQ(First("\x1b[4~"), (KeyStroke{VK_END, -1, 0}));
  EXPECT_EQ(First("\x1b[13;5u"), (KeyStroke{VK_RETURN, 13, kCtrl}));
  EXPECT_EQ(First("\x1b[27;5;13~"), (KeyStroke{VK_RETURN, 13, kCtrl}));
  // Ctrl+Space (NUL) types a blank; a shifted letter reported by code point is the capital.
  EXPECT_EQ(First(std::string(1, '\0')), (KeyStroke{VK_SPACE, 32, kCtrl}));
  EXPECT_EQ(First("\x1b[97;2u"), (KeyStroke{'A', 'A', kShift}));
  auto focus = Decode("\x1b[I\x1b[O");
  ASSERT_EQ(focus.size(), 2u);
  EXPECT_EQ(focus[0].kind, TerminalInput::FocusIn);
  EXPECT_EQ(focus[1].kind, TerminalInput::FocusOut);
}

TEST(TerminalKeys, BytesCharactersAndEscapes) {
  EXPECT_EQ(First("\x03"), (KeyStroke{'C', 3, kCtrl}));
  EXPECT_EQ(First("\x1c"), (KeyStroke{VK_OEM_5, 28, kCtrl}));
  EXPECT_EQ(First("\r"), (KeyStroke{VK_RETURN, 13, 0}));
  EXPECT_EQ(First("\n"), (KeyStroke{VK_RETURN, 13, kCtrl}));
  EXPECT_EQ(First("\x7f"), (KeyStroke{VK_BACK, 8, 0}));
  EXPECT_EQ(First("\x08"), (KeyStroke{VK_BACK, 8, kCtrl}));
  EXPECT_EQ(First("\xc3\xa3").ch, 0xE3);
  EXPECT_EQ(First("\xe2\x82\xac").ch, 0x80);  // the euro sign
  EXPECT_EQ(First("\xe9").ch, 0xE9);          // a Latin-1 terminal
  EXPECT_EQ(First("\x1b"), (KeyStroke{VK_ESCAPE, 27, 0}));
  EXPECT_EQ(First("\x1b" "a").mods, kAlt);
  EXPECT_EQ(First("\x1b" "a").vk, 'A');
  // Incomplete input waits for more; the rest arrives later.
  KeyDecoder d;
  std::vector<TerminalInput> out;
  d.Feed("\x1b[1;", out);
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(d.Pending());
  KeyDecoder e;
  e.Feed("\x1b[1;5", out);
  e.Feed("B\xc3", out);
  e.Feed("\xa9", out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].stroke, (KeyStroke{VK_DOWN, -1, kCtrl}));
  EXPECT_EQ(out[1].stroke.ch, 0xE9);
  // Unknown sequences are dropped whole, and garbage never stops the decoder.
  auto junk = Decode("\x1b[99;99z\x1b[<0;1;2Mq");
  ASSERT_EQ(junk.size(), 1u);
  EXPECT_EQ(junk[0].stroke.ch, 'q');
}

TEST(TerminalKeys, RandomBytesNeverStopTheDecoderOrTheScript) {
  std::mt19937 random(11);
  const std::string pieces[] = {"\x1b", "[", "O", "1", ";", "5", "~", "A", "\xc3", "\xa9", "u", "\r", "a", "\"", "+", " ", "\n"};
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    int n = static_cast<int>(random() % 20);
    for (int j = 0; j < n; ++j)
      text += random() % 3 ? pieces[random() % std::size(pieces)] : std::string(1, static_cast<char>(random()));
    KeyDecoder d;
    std::vector<TerminalInput> out;
    d.Feed(text, out);
    d.Flush(out);
    EXPECT_FALSE(d.Pending());
    auto script = ParseKeyScript(text);
    for (const auto& line : script.lines)
      for (const auto& key : line.keys) EXPECT_FALSE(StrokeMessages(key).empty());
  }
}
