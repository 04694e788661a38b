// The console driven in process through an environment of the test's own: what the input
// device echoes while it reads a line reaches the transcript as OUT events, like any output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/TlCrt.hpp"
#include "platform/env.hpp"
#include "platform/headless/headless_env.hpp"
#include "platform/headless/keysource.hpp"
#include "platform/transcript.hpp"
#include "testkit/testkit.hpp"

using namespace teluma;
using namespace teluma::console;

TEST(ConsoleEcho, ReadLnEchoIsOutput) {
  testkit::TempDir dir;
  platform::EnvChoice choice;
  choice.transcript = dir.path() + "/transcript.txt";
  platform::headless::HeadlessEnv env(choice);
  platform::ScopedEnv installed(env);
  env.Keys().Load(platform::headless::ParseKeyScript("\"ab\" Backspace c Enter\n"));

  Write("Nome: ");
  EXPECT_EQ(ReadLn(), "ac");
  env.Log().Reopen("");

  testkit::RunResult r;
  testkit::ParseTranscript(testkit::ReadFile(choice.transcript), r);
  std::vector<std::string> outs;
  for (const auto& e : r.Named("OUT")) outs.push_back(testkit::Unquote(e.data));
  EXPECT_EQ(outs, (std::vector<std::string>{"Nome: ", "a", "b", "\b", "c", "\r\n"}));
}
