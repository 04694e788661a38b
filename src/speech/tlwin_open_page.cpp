// Opening a web address, document or program named in text. Programs are started directly
// (never through a shell), so nothing in the target can run commands of its own; "xdg-open"
// stands for the platform's own association. The program's environment starts it; the headless
// one only records what it would start (event OPEN), unless TELUMA_START_PROGRAMS is 1.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/env.hpp"
#include "platform/paths.hpp"
#include "platform/transcript.hpp"
#include "speech/tlwin.hpp"
#include "playback/tlwin_state.hpp"

namespace {

constexpr size_t kMaxTarget = 255;

std::string WorkingFolder() {
  char buf[4096];
  return getcwd(buf, sizeof buf) ? std::string(buf) : std::string(".");
}

bool LooksLikeSystemPath(std::string_view text) {
  bool drive = text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<uint8_t>(text[0]));
  return drive || text.find('\\') != std::string_view::npos;
}

// Host path of a file named in system or host form, relative names taken in folder.
std::string HostPath(std::string_view name, const std::string& folder) {
  std::string path = platform::MapPath(name);
  if (!path.empty() && path.front() != '/') path = platform::JoinPath(folder, path);
  return path;
}

bool IsExecutableFile(const std::string& path) {
  return platform::FileExists(path) && access(path.c_str(), X_OK) == 0;
}

// A parameter as the started program should see it: system paths mapped, and a leading "-"
// kept from being read as an option.
std::string Parameter(std::string_view text, const std::string& folder) {
  if (text.find("://") == std::string_view::npos && LooksLikeSystemPath(text))
    return HostPath(text, folder);
  if (!text.empty() && text.front() == '-') return "./" + std::string(text);
  return std::string(text);
}

std::vector<std::string> CommandLine(const HelpLaunch& launch, const std::string& folder) {
  if (launch.program.empty()) return {};
  if (launch.parameters.empty()) {
    if (launch.program.find("://") != std::string::npos) return {"xdg-open", launch.program};
    std::string path = HostPath(launch.program, folder);
    if (IsExecutableFile(path)) return {path};
    return {"xdg-open", path};
  }
  std::string program = launch.program;
  if (LooksLikeSystemPath(program) || program.find('/') != std::string::npos)
    program = HostPath(program, folder);
  return {program, Parameter(launch.parameters, folder)};
}

}  // namespace

void OpenHelpPage(std::string_view target) {
  target = target.substr(0, kMaxTarget);
  const std::string folder = WorkingFolder();
  HelpLaunch launch = ChooseHelpProgram(target, folder);
  WaitWhileSpeechBusy();
  platform::Transcript::Get().Event(
      "OPEN", platform::Transcript::Quote(launch.program) + " " +
                  platform::Transcript::Quote(launch.parameters));
  platform::Env::Default().StartProgram(CommandLine(launch, folder));
  WaitWhileSpeechBusy();
}
