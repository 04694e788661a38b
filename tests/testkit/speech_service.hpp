// A private speech service for tests: its own configuration, socket and log folder in a
// temporary folder, audio to libao's null driver, and two generic output modules whose command
// records each text it is given (with voice, rate and pitch) and then sleeps a little, so no
// sound card is needed and the begin and end notifications are real. While it lives, clients
// of this process and its children reach it and no other, and none can start one of their own.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

#include "testkit/testkit.hpp"

namespace testkit {

class SpeechService {
 public:
  // A further generic module, loaded with AddModule "name" "sd_generic" "name.conf".
  struct Module {
    std::string name;
    std::string config;
  };
  // Module "gravador" has voices bob (en) and ana (pt-BR); module "outro", the default, has
  // dora (pt-BR). Each text is followed by a sleep of sleepSeconds.
  explicit SpeechService(double sleepSeconds = 0.05, const std::vector<Module>& more = {});
  ~SpeechService();
  SpeechService(const SpeechService&) = delete;
  SpeechService& operator=(const SpeechService&) = delete;

  bool Running() const { return pid_ > 0; }
  // Kills the service and its modules at once.
  void Kill();
  // Lines recorded so far: "module|text|voice|rate|pitch" (text in UTF-8 for pt-BR voices).
  std::vector<std::string> Spoken() const;
  // Waits (a few seconds at most) until n lines were recorded.
  std::vector<std::string> WaitForSpoken(size_t n) const;

 private:
  TempDir dir_;
  pid_t pid_ = -1;
};

// Points this process and its children at a socket nobody listens on, with a starter that
// cannot start anything.
void NoSpeechService(const std::string& folder);

}  // namespace testkit
