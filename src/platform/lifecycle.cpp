#include "platform/lifecycle.hpp"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/transcript.hpp"

namespace platform {
namespace {

struct ExitState {
  std::vector<std::function<void()>> procedures;
  std::vector<std::function<void()>> reports;
  int code = 0;
  bool registered = false;
  bool ran = false;
};

ExitState& State() {
  static ExitState* state = new ExitState;  // outlives every static destructor
  return *state;
}

void RunAtExit() {
  auto& s = State();
  if (s.ran) return;
  s.ran = true;
  while (!s.procedures.empty()) {
    auto p = std::move(s.procedures.back());
    s.procedures.pop_back();
    p();
  }
  Transcript::Get().Event("EXIT", std::to_string(s.code));
  for (auto& r : s.reports) r();
  Transcript::Get().Flush();
  std::fflush(stdout);
}

void EnsureRegistered() {
  auto& s = State();
  if (!s.registered) {
    s.registered = true;
    // Built first so that it is still open when the exit procedures run.
    Transcript::Get();
    std::atexit(RunAtExit);
  }
}

}  // namespace

void InstallExitHandler() { EnsureRegistered(); }

void AddExitProcedure(std::function<void()> procedure) {
  EnsureRegistered();
  State().procedures.push_back(std::move(procedure));
}

void AddFinalReport(std::function<void()> procedure) {
  EnsureRegistered();
  State().reports.push_back(std::move(procedure));
}

void SetExitCode(int code) { State().code = code; }
int ExitCode() { return State().code; }

void ExitProgram(int code) {
  EnsureRegistered();
  State().code = code;
  std::exit(code);
}

}  // namespace platform
