// Asked for a window where there is no display, a program must not sit in an invisible one
// waiting for keys nobody can type.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "testkit/testkit.hpp"

TEST(WindowWithoutDisplay, FallsBackAndEnds) {
  testkit::TempDir dir;
  std::string program = testkit::BuildDir() + "/src/apps/teluma-console";
  std::string errors = dir.path() + "/err.txt";
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("TELUMA_KEYS");
    setenv("TELUMA_BACKEND", "window", 1);
    setenv("TELUMA_WINDIR", "/nonexistent-windir", 1);
    int null = open("/dev/null", O_RDWR);
    int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(null, 0);
    dup2(null, 1);
    dup2(err, 2);
    alarm(20);  // the fault this guards against is a wait for ever
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_NE(WEXITSTATUS(status), 127);
  EXPECT_NE(testkit::ReadFile(errors).find("Não foi possível abrir a saída \"window\""), std::string::npos);
}
