// The sound card output through SDL's "disk" audio driver, which plays in real time into a
// file: blocks come back as WaveDone messages, reset gives them back at once, and what the
// device receives is the mix of both voices.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/env.hpp"
#include "platform/events.hpp"
#include "platform/real_env.hpp"
#include "platform/sound/output.hpp"

using namespace platform;

namespace {

std::string DiskFile() {
  static const std::string path =
      (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + std::string("/teluma-sdl-") +
      std::to_string(getpid()) + ".raw";
  return path;
}

struct DiskDriver {
  DiskDriver() {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", DiskFile().c_str(), 1);
  }
  ~DiskDriver() { std::remove(DiskFile().c_str()); }
  // The card's blocks come back on the real clock, whatever TELUMA_BACKEND says.
  RealEnv env{EnvChoice{}};
  ScopedEnv installed{env};
} diskDriver;

struct Block {
  std::vector<uint8_t> data;
  WaveHeader header;
  Block(size_t bytes, uint8_t value, int64_t user) : data(bytes, value) {
    header.data = data.data();
    header.length = uint32_t(bytes);
    header.user = user;
    header.flags = kHeaderPrepared;
  }
};

// WaveDone messages that arrive within the time given.
std::vector<Message> DoneMessages(size_t wanted, int timeoutMs) {
  std::vector<Message> done;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    Message m;
    while (PeekMessage(m)) {
      if (m.kind == MessageKind::WaveDone) done.push_back(m);
    }
    if (done.size() >= wanted || std::chrono::steady_clock::now() >= end) return done;
    Sleep(5);
  }
}

}  // namespace

TEST(SdlOutput, BlocksComeBackInOrderAsTheyFinish) {
  auto out = MakeSdlOutput();
  ASSERT_TRUE(out) << "the disk audio driver must open";
  EXPECT_STREQ(out->Name(), "sdl");
  WaveHandle h = 0, other = 0;
  ASSERT_EQ(out->Open(h, {11025, 8, 1}), kWaveOk);
  EXPECT_EQ(out->Open(other, {11025, 8, 1}), kWaveAllocated);

  Block a(1103, 200, 1), b(1103, 60, 2);
  ASSERT_EQ(out->Write(h, a.header), kWaveOk);
  ASSERT_EQ(out->Write(h, b.header), kWaveOk);
  EXPECT_EQ(out->Write(h, a.header), kWaveStillPlaying);
  auto done = DoneMessages(2, 5000);
  ASSERT_EQ(done.size(), 2u);
  EXPECT_EQ(done[0].a, h);
  EXPECT_EQ(done[0].b, 1);
  EXPECT_EQ(done[1].b, 2);
  EXPECT_TRUE(a.header.flags & kHeaderDone);
  EXPECT_FALSE(b.header.flags & kHeaderInQueue);
  EXPECT_EQ(out->Close(h), kWaveOk);
  EXPECT_EQ(out->Close(h), kWaveInvalidHandle);

  WaveHandle bad = 0;
  EXPECT_EQ(out->Open(bad, {11025, 12, 1}), kWaveBadFormat);
  EXPECT_EQ(out->Open(bad, {11025, 8, 3}), kWaveBadFormat);
}

TEST(SdlOutput, ResetGivesEveryBlockBackBeforeItReturns) {
  auto out = MakeSdlOutput();
  ASSERT_TRUE(out);
  WaveHandle h = 0;
  ASSERT_EQ(out->Open(h, {22050, 16, 2}), kWaveOk);
  std::vector<Block*> blocks;
  for (int i = 1; i <= 4; ++i) blocks.push_back(new Block(88200, 0, i));
  for (Block* b : blocks) ASSERT_EQ(out->Write(h, b->header), kWaveOk);
  Sleep(30);
  EXPECT_EQ(out->Close(h), kWaveStillPlaying);
  ASSERT_EQ(out->Reset(h), kWaveOk);
  for (Block* b : blocks) EXPECT_TRUE(b->header.flags & kHeaderDone);
  // The messages are already queued: no waiting.
  auto done = DoneMessages(4, 0);
  ASSERT_EQ(done.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(done[i].b, i + 1);
  EXPECT_EQ(out->Close(h), kWaveOk);
  for (Block* b : blocks) delete b;
}

TEST(SdlOutput, TheDeviceHearsTheThreeVoicesMixed) {
  std::remove(DiskFile().c_str());
  auto out = MakeSdlOutput();
  ASSERT_TRUE(out);
  WaveHandle h = 0;
  ASSERT_EQ(out->Open(h, {11025, 8, 1}), kWaveOk);
  Block stream(2205, 128 + 64, 1);  // 200 ms at +16384
  auto effect = std::make_unique<EffectSound>();
  effect->samples.assign(8820, 128 + 32);  // 400 ms at +8192
  effect->format = {22050, 8, 1};
  out->PlayEffect(std::move(effect));
  std::atomic<int> spoken{0};
  for (int i = 0; i < 2; ++i) {  // 100 ms of speech at +4096, in two pieces
    auto piece = std::make_unique<SpeechSound>();
    piece->samples.assign(1103, 4096);
    piece->rate = 22050;
    piece->done = [&spoken] { ++spoken; };
    out->QueueSpeech(std::move(piece));
  }
  ASSERT_EQ(out->Write(h, stream.header), kWaveOk);
  ASSERT_EQ(DoneMessages(1, 5000).size(), 1u);
  Sleep(400);
  EXPECT_EQ(spoken.load(), 2);
  ASSERT_EQ(out->Close(h), kWaveOk);
  out.reset();  // closes the device and its file

  std::ifstream file(DiskFile(), std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto* samples = reinterpret_cast<const int16_t*>(bytes.data());
  size_t all = 0, both = 0, effectOnly = 0;
  for (size_t i = 0; i + 1 < bytes.size() / 2; i += 2) {
    EXPECT_EQ(samples[i], samples[i + 1]);  // mono sound on both sides
    if (samples[i] == 16384 + 8192 + 4096) ++all;
    if (samples[i] == 16384 + 8192) ++both;
    if (samples[i] == 8192) ++effectOnly;
  }
  // About 100 ms of all three, 100 ms of stream and effect, and 200 ms of the effect alone at
  // 48000 frames a second.
  EXPECT_GT(all, 4000u);
  EXPECT_GT(both, 4000u) << all;
  EXPECT_GT(effectOnly, 8000u) << both;
}
