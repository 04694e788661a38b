// A small tree for the engine tests: the shipped rule files, a database file the stand-in
// library accepts, the suite file and registry files in the Windows folder; headless, with a
// transcript that records the images handed to the wave device.
#pragma once
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/env.hpp"
#include "platform/events.hpp"
#include "platform/headless/headless_env.hpp"
#include "platform/transcript.hpp"
#include "testkit/data_tree.hpp"
#include "testkit/testkit.hpp"

namespace koraltest {

// The stand-in library, held open by the tests so that its counters survive the engine's
// unloading.
inline void* FakeVoice() {
  static void* handle = dlopen(FAKE_VOICE_DIR "/libteluma-mbrola.so", RTLD_NOW);
  return handle;
}
template <typename F>
F Fake(const char* name) {
  return reinterpret_cast<F>(dlsym(FakeVoice(), name));
}
inline std::string InitPath() { return Fake<const char* (*)()>("fake_init_path")(); }
inline int Closes() { return Fake<int (*)()>("fake_closes")(); }
inline void FailOn(const char* phoneme) { Fake<void (*)(const char*)>("fake_fail_on")(phoneme); }
inline void LineSamples(std::vector<int> counts) {
  Fake<void (*)(const int*, int)>("fake_line_samples")(counts.data(), int(counts.size()));
}

class Tree : public testkit::DataTree {
 public:
  // registered: the registry names the tree's database file.
  explicit Tree(bool registered = true) {
    // Every wait runs on the virtual clock, without a display.
    static platform::headless::HeadlessEnv headless;
    static platform::ScopedEnv installed(headless);
    for (const char* ext : {"nrl", "exc", "abr", "pro", "dfn"}) {
      std::string name = std::string("portug.") + ext;
      Write("qorbel/koraltts/" + name,
            testkit::ReadFile(testkit::DataRoot() + "/qorbel/koraltts/" + name));
    }
    Write("qorbel/koraltts/br4", "voz");
    Write("windows/TELUMA.INI", "");
    setenv("TELUMA_ROOT", path().c_str(), 1);
    setenv("TELUMA_WINDIR", (path() + "/windows").c_str(), 1);
    platform::Transcript::Get().Reopen(Path("transcript.txt"));
    FailOn("");
    LineSamples({});
    if (registered)
      Register("SOFTWARE\\TCTS\\Mbrola\\databases\\br4", "\"c:\\\\qorbel\\\\koraltts\\\\br4\"");
  }
  ~Tree() {
    platform::Transcript::Get().Reopen("");
    unsetenv("TELUMA_WINDIR");
    unsetenv("TELUMA_ROOT");
  }
  std::string Path(const std::string& relative) const { return path() + "/" + relative; }
  // A registry file giving the default value of a key.
  void Register(const std::string& key, const std::string& value) const {
    Write("windows/voz.reg", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + key + "]\r\n@=" + value + "\r\n");
  }
  // The byte counts of the images handed to the wave device so far.
  std::vector<long> Images() const {
    platform::Transcript::Get().Flush();
    testkit::RunResult r;
    testkit::ParseTranscript(testkit::ReadFile(Path("transcript.txt")), r);
    std::vector<long> sizes;
    for (const auto& e : r.Named("IMAGE")) {
      EXPECT_EQ(e.data.substr(e.data.find(' ')), " 16000 16 1");
      sizes.push_back(std::stol(e.data));
    }
    return sizes;
  }
};

}  // namespace koraltest
