#include "testkit/speech_service.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string_view>

extern char** environ;

namespace testkit {
namespace {

std::string ModuleConfig(const std::string& name, const std::string& log, double sleep,
                         const std::string& voices) {
  // The module puts the text between single quotes and escapes the ones inside it.
  return "GenericExecuteSynth \"printf '%s|%s|%s|%s|%s\\\\n' " + name +
         " '$DATA' '$VOICE' '$RATE' '$PITCH' >> " + log + "; sleep " + std::to_string(sleep) +
         "\"\nGenericMaxChunkLength 100000\n" + voices +
         "GenericLanguage \"pt-BR\" \"pt-BR\" \"utf-8\"\n"
         "GenericLanguage \"pt-br\" \"pt-br\" \"utf-8\"\n"
         "GenericLanguage \"pt\" \"pt\" \"utf-8\"\n";
}

bool Accepts(const std::string& socketPath) {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
  bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

}  // namespace

SpeechService::SpeechService(double sleepSeconds, const std::vector<Module>& more) {
  const std::string& d = dir_.path();
  std::string log = d + "/spoken.txt";
  dir_.Write("home/.libao", "default_driver=null\n");
  std::string conf = "CommunicationMethod \"unix_socket\"\nSocketPath \"" + d + "/sock\"\n";
  conf += "AudioOutputMethod \"libao\"\nDefaultModule \"outro\"\nLogLevel 1\n";
  conf += "DefaultRate 20\nDefaultPitch -30\n";
  conf += "AddModule \"gravador\" \"sd_generic\" \"gravador.conf\"\n";
  conf += "AddModule \"outro\" \"sd_generic\" \"outro.conf\"\n";
  for (const Module& m : more) {
    conf += "AddModule \"" + m.name + "\" \"sd_generic\" \"" + m.name + ".conf\"\n";
    dir_.Write("conf/modules/" + m.name + ".conf", m.config);
  }
  dir_.Write("conf/speechd.conf", conf);
  dir_.Write("conf/modules/gravador.conf",
             ModuleConfig("gravador", log, sleepSeconds,
                          "AddVoice \"en\" \"MALE1\" \"bob\"\n"
                          "AddVoice \"pt-BR\" \"FEMALE1\" \"ana\"\n"));
  dir_.Write("conf/modules/outro.conf",
             ModuleConfig("outro", log, sleepSeconds, "AddVoice \"pt-BR\" \"MALE1\" \"dora\"\n"));
  std::string daemonLog = dir_.Write("log/daemon.txt", "");
  NoSpeechService(d);
  setenv("SPEECHD_ADDRESS", ("unix_socket:" + d + "/sock").c_str(), 1);

  // Everything the child needs is made before the fork.
  std::vector<std::string> args = {"speech-dispatcher", "-s", "-t", "120"};
  for (const char* option : {"-C", "conf", "-S", "sock", "-P", "pid", "-L", "log"})
    args.push_back(option[0] == '-' ? option : d + "/" + option);
  std::vector<std::string> env = {"HOME=" + d + "/home"};
  for (char** e = environ; *e; ++e)
    if (std::string_view(*e).substr(0, 5) != "HOME=") env.push_back(*e);
  std::vector<char*> argv, envp;
  for (auto& a : args) argv.push_back(a.data());
  for (auto& e : env) envp.push_back(e.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    setsid();
    int fd = open(daemonLog.c_str(), O_WRONLY);
    if (fd >= 0) dup2(fd, 2);
    execve("/usr/bin/speech-dispatcher", argv.data(), envp.data());
    _exit(127);
  }
  for (int i = 0; i < 1000 && !Accepts(d + "/sock"); ++i) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    usleep(10000);
  }
}

SpeechService::~SpeechService() {
  Kill();
  unsetenv("SPEECHD_ADDRESS");
  unsetenv("SPEECHD_CMD");
}

// The service runs in a session of its own; its modules and their commands stay in it.
void SpeechService::Kill() {
  if (pid_ <= 0) return;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::string stat = ReadFile(entry.path().string() + "/stat");
    size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 2));
    std::string state;
    long parent = 0, group = 0, session = 0;
    fields >> state >> parent >> group >> session;
    if (session == pid_) kill(std::stol(entry.path().filename().string()), SIGKILL);
  }
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

std::vector<std::string> SpeechService::Spoken() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(dir_.path() + "/spoken.txt"));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> SpeechService::WaitForSpoken(size_t n) const {
  std::vector<std::string> lines = Spoken();
  for (int i = 0; i < 500 && lines.size() < n; ++i) {
    usleep(10000);
    lines = Spoken();
  }
  return lines;
}

void NoSpeechService(const std::string& folder) {
  setenv("SPEECHD_ADDRESS", ("unix_socket:" + folder + "/ninguem.sock").c_str(), 1);
  setenv("SPEECHD_CMD", "/bin/false", 1);
}

}  // namespace testkit
