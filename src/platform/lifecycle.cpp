#include "platform/lifecycle.hpp"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/transcript.hpp"

namespace teluma::platform {
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

// on_exit hands over the status, so that a return from main is reported with its code.
void RunAtExit(int status, void*) {
  auto& s = State();
  if (s.ran) return;
  s.ran = true;
  s.code = status;
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
    on_exit(RunAtExit, nullptr);
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

void ExitProgram(int code) {
  EnsureRegistered();
  State().code = code;
  std::exit(code);
}

}  // namespace teluma::platform
