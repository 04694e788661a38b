// The mixer of the sound card output, driven directly as the audio callback drives it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/sound/mixer.hpp"

using platform::EffectSound;
using platform::Mixer;
using platform::WaveFormat;
using platform::WaveHeader;

namespace {

std::vector<int16_t> Render(Mixer& mixer, size_t frames) {
  std::vector<int16_t> out(frames * 2, 12345);
  mixer.Render(out.data(), frames);
  return out;
}

std::vector<Mixer::Event> Events(Mixer& mixer) {
  std::vector<Mixer::Event> events;
  Mixer::Event e;
  while (mixer.PopEvent(e)) {
    events.push_back(e);
    delete e.effect;
  }
  return events;
}

void Queue(Mixer& mixer, WaveHeader& header, const std::vector<uint8_t>& data, int64_t user) {
  header.data = data.data();
  header.length = uint32_t(data.size());
  header.user = user;
  header.flags = platform::kHeaderPrepared | platform::kHeaderInQueue;
  ASSERT_TRUE(mixer.QueueBlock(&header));
}

std::unique_ptr<EffectSound> Effect(std::vector<uint8_t> samples, WaveFormat format, bool loop) {
  auto e = std::make_unique<EffectSound>();
  e->samples = std::move(samples);
  e->format = format;
  e->loop = loop;
  return e;
}

}  // namespace

TEST(Mixer, PlaysBlocksInTurnAndReportsEachOnceDone) {
  Mixer mixer(8000);
  ASSERT_TRUE(mixer.OpenStream(7, {8000, 8, 1}));
  std::vector<uint8_t> a(100, 128 + 64), b(50, 128 - 64);
  WaveHeader ha, hb;
  Queue(mixer, ha, a, 1);
  Queue(mixer, hb, b, 2);
  auto out = Render(mixer, 120);
  EXPECT_EQ(out[0], 64 * 256);
  EXPECT_EQ(out[1], 64 * 256);   // mono goes to both sides
  EXPECT_EQ(out[2 * 110], -64 * 256);
  auto events = Events(mixer);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, Mixer::Event::BlockDone);
  EXPECT_EQ(events[0].handle, 7);
  EXPECT_EQ(events[0].user, 1);
  EXPECT_TRUE(ha.flags & platform::kHeaderDone);
  EXPECT_FALSE(ha.flags & platform::kHeaderInQueue);
  EXPECT_FALSE(mixer.Idle());

  out = Render(mixer, 100);
  EXPECT_EQ(out[2 * 99], 0);  // silence once the stream runs dry
  events = Events(mixer);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].user, 2);
  EXPECT_TRUE(mixer.Idle());
}

TEST(Mixer, ConvertsRatesAndSampleFormats) {
  // 16-bit stereo at half the device rate: every source frame lasts two device frames.
  Mixer mixer(22050);
  ASSERT_TRUE(mixer.OpenStream(1, {11025, 16, 2}));
  std::vector<uint8_t> data;
  for (int i = 0; i < 1000; ++i) {
    for (int16_t v : {int16_t(1000), int16_t(-2000)}) {
      data.push_back(uint8_t(v));
      data.push_back(uint8_t(uint16_t(v) >> 8));
    }
  }
  WaveHeader h;
  Queue(mixer, h, data, 1);
  auto out = Render(mixer, 1990);
  EXPECT_EQ(out[2 * 1000], 1000);
  EXPECT_EQ(out[2 * 1000 + 1], -2000);
  EXPECT_TRUE(Events(mixer).empty());
  Render(mixer, 20);
  EXPECT_EQ(Events(mixer).size(), 1u);

  // The fast rate (1.5 times 11025) on a 48000 device: a ramp stays a ramp.
  Mixer fast(48000);
  ASSERT_TRUE(fast.OpenStream(1, {16538, 8, 1}));
  std::vector<uint8_t> ramp(16538);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = uint8_t(i * 256 / ramp.size());
  WaveHeader hr;
  Queue(fast, hr, ramp, 1);
  out = Render(fast, 47000);
  for (size_t i = 2; i < 47000; ++i) ASSERT_GE(out[2 * i], out[2 * (i - 1)]) << i;
}

TEST(Mixer, AFrameSplitOverTwoBlocksIsPutTogether) {
  // 16-bit stereo blocks of 6 bytes: the second frame starts in one block and ends in the next
  // (as 65534-byte blocks of such sound do).
  Mixer mixer(8000);
  ASSERT_TRUE(mixer.OpenStream(1, {8000, 16, 2}));
  auto bytes = [](std::initializer_list<int16_t> values) {
    std::vector<uint8_t> out;
    for (int16_t v : values) {
      out.push_back(uint8_t(v));
      out.push_back(uint8_t(uint16_t(v) >> 8));
    }
    return out;
  };
  const auto a = bytes({100, -100, 200}), b = bytes({-200, 300, -300});
  WaveHeader ha, hb;
  Queue(mixer, ha, a, 1);
  Queue(mixer, hb, b, 2);
  auto out = Render(mixer, 4);
  EXPECT_EQ(out[0], 100);
  EXPECT_EQ(out[1], -100);
  EXPECT_EQ(out[2], 200);
  EXPECT_EQ(out[3], -200);
  EXPECT_EQ(out[4], 300);
  EXPECT_EQ(out[5], -300);
  EXPECT_EQ(Events(mixer).size(), 2u);

  // A reset drops the half frame: the next block starts a frame of its own.
  Queue(mixer, ha, a, 3);
  Render(mixer, 2);
  ASSERT_TRUE(mixer.ResetStream(1));
  Queue(mixer, hb, b, 4);
  out = Render(mixer, 1);
  EXPECT_EQ(out[0], -200);
  EXPECT_EQ(out[1], 300);
}

TEST(Mixer, ResetReturnsEveryBlockAndSilencesTheStream) {
  Mixer mixer(8000);
  ASSERT_TRUE(mixer.OpenStream(3, {8000, 8, 1}));
  std::vector<uint8_t> data(1000, 200);
  WaveHeader h[3];
  for (int i = 0; i < 3; ++i) Queue(mixer, h[i], data, i + 1);
  Render(mixer, 10);
  ASSERT_TRUE(mixer.ResetStream(42));
  auto out = Render(mixer, 10);
  for (int16_t v : out) ASSERT_EQ(v, 0);
  auto events = Events(mixer);
  ASSERT_EQ(events.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(events[i].kind, Mixer::Event::BlockDone);
    EXPECT_EQ(events[i].user, i + 1);
    EXPECT_TRUE(h[i].flags & platform::kHeaderDone);
  }
  EXPECT_EQ(events[3].kind, Mixer::Event::ResetDone);
  EXPECT_EQ(events[3].sequence, 42u);

  // A block the program side already took back is not reported twice.
  WaveHeader taken;
  Queue(mixer, taken, data, 9);
  ASSERT_TRUE(platform::MarkHeaderDone(taken));
  mixer.ResetStream(43);
  Render(mixer, 1);
  events = Events(mixer);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, Mixer::Event::ResetDone);
}

TEST(Mixer, NewEffectCutsTheOldOneAndLoopsPlayOn) {
  Mixer mixer(8000);
  ASSERT_TRUE(mixer.PlayEffect(Effect(std::vector<uint8_t>(10, 200), {8000, 8, 1}, true)));
  auto out = Render(mixer, 100);
  for (size_t i = 0; i < 100; ++i) ASSERT_EQ(out[2 * i], 72 * 256) << i;  // looped
  EXPECT_TRUE(Events(mixer).empty());

  ASSERT_TRUE(mixer.PlayEffect(Effect(std::vector<uint8_t>(10, 64), {8000, 8, 1}, false)));
  out = Render(mixer, 20);
  EXPECT_EQ(out[0], -64 * 256);
  EXPECT_EQ(out[2 * 15], 0);  // a sound that is not looped ends
  auto events = Events(mixer);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, Mixer::Event::EffectRetired);
  EXPECT_EQ(events[1].kind, Mixer::Event::EffectRetired);
  EXPECT_TRUE(mixer.Idle());

  mixer.PlayEffect(Effect(std::vector<uint8_t>(10, 200), {8000, 8, 1}, true));
  mixer.StopEffect();
  out = Render(mixer, 5);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(Events(mixer).size(), 1u);  // the stopped effect, never heard
}

TEST(Mixer, SumsBothVoicesAndClipsAtFullScale) {
  Mixer mixer(8000);
  mixer.OpenStream(1, {8000, 8, 1});
  std::vector<uint8_t> loud(100, 255);
  WaveHeader h;
  Queue(mixer, h, loud, 1);
  mixer.PlayEffect(Effect(std::vector<uint8_t>(100, 255), {8000, 8, 1}, false));
  auto out = Render(mixer, 10);
  EXPECT_EQ(out[0], 32767);
  mixer.ResetStream(1);
  Render(mixer, 1);
  Events(mixer);
  out = Render(mixer, 1);
  EXPECT_EQ(out[0], 127 * 256);
}

namespace {

// A speech piece whose done counts into finished.
std::unique_ptr<platform::SpeechSound> Piece(size_t samples, int16_t value, int* finished) {
  auto p = std::make_unique<platform::SpeechSound>();
  p->samples.assign(samples, value);
  p->rate = 8000;
  p->done = [finished] { ++*finished; };
  return p;
}

// Calls done on every retired speech piece and frees it; answers how many events carried them.
int RetireSpeech(Mixer& mixer) {
  int events = 0;
  Mixer::Event e;
  while (mixer.PopEvent(e)) {
    delete e.effect;
    if (e.kind != Mixer::Event::SpeechRetired) continue;
    ++events;
    for (auto* p = e.speech; p != nullptr;) {
      auto* next = p->next;
      p->done();
      delete p;
      p = next;
    }
  }
  return events;
}

}  // namespace

TEST(Mixer, SpeechIsTheThirdVoice) {
  Mixer mixer(8000);
  int finished = 0;
  mixer.OpenStream(1, {8000, 8, 1});
  std::vector<uint8_t> stream(100, 128 + 16);
  WaveHeader h;
  Queue(mixer, h, stream, 1);
  mixer.PlayEffect(Effect(std::vector<uint8_t>(100, 128 + 8), {8000, 8, 1}, false));
  ASSERT_TRUE(mixer.QueueSpeech(Piece(30, 1000, &finished)));
  ASSERT_TRUE(mixer.QueueSpeech(Piece(30, -3000, &finished)));
  auto out = Render(mixer, 50);
  EXPECT_TRUE(mixer.SpeechStarted());
  EXPECT_EQ(out[0], 16 * 256 + 8 * 256 + 1000);
  EXPECT_EQ(out[1], out[0]);
  EXPECT_EQ(out[2 * 40], 16 * 256 + 8 * 256 - 3000);  // pieces follow each other
  EXPECT_EQ(RetireSpeech(mixer), 1);
  EXPECT_EQ(finished, 1);
  out = Render(mixer, 50);
  EXPECT_FALSE(mixer.SpeechStarted());
  EXPECT_EQ(out[2 * 20], 16 * 256 + 8 * 256);  // speech over
  RetireSpeech(mixer);
  EXPECT_EQ(finished, 2);

  // A purge drops the playing piece and the queued ones in one event, at the next buffer.
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(mixer.QueueSpeech(Piece(1000, 500, &finished)));
  Render(mixer, 10);
  ASSERT_TRUE(mixer.PurgeSpeech());
  out = Render(mixer, 10);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(RetireSpeech(mixer), 1);
  EXPECT_EQ(finished, 42);
  EXPECT_TRUE(mixer.Idle());
}
