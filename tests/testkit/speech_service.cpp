#include "testkit/speech_service.hpp"

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

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

SpeechService::SpeechService(double sleepSeconds) {
  const std::string& d = dir_.path();
  std::string log = d + "/spoken.txt";
  dir_.Write("home/.libao", "default_driver=null\n");
  dir_.Write("conf/speechd.conf",
             "CommunicationMethod \"unix_socket\"\nSocketPath \"" + d + "/sock\"\n"
             "AudioOutputMethod \"libao\"\nDefaultModule \"outro\"\nDefaultRate 20\n"
             "DefaultPitch -30\nLogLevel 1\n"
             "AddModule \"gravador\" \"sd_generic\" \"gravador.conf\"\n"
             "AddModule \"outro\" \"sd_generic\" \"outro.conf\"\n");
  dir_.Write("conf/modules/gravador.conf",
             ModuleConfig("gravador", log, sleepSeconds,
                          "AddVoice \"en\" \"MALE1\" \"bob\"\nAddVoice \"pt-BR\" \"FEMALE1\" \"ana\"\n"));
  dir_.Write("conf/modules/outro.conf",
             ModuleConfig("outro", log, sleepSeconds, "AddVoice \"pt-BR\" \"MALE1\" \"dora\"\n"));
  dir_.Write("log/.keep", "");
  NoSpeechService(d);
  setenv("SPEECHD_ADDRESS", ("unix_socket:" + d + "/sock").c_str(), 1);

  pid_ = fork();
  if (pid_ == 0) {
    setsid();
    setenv("HOME", (d + "/home").c_str(), 1);
    freopen((d + "/log/daemon.txt").c_str(), "w", stderr);
    execl("/usr/bin/speech-dispatcher", "speech-dispatcher", "-s", "-C", (d + "/conf").c_str(),
          "-S", (d + "/sock").c_str(), "-P", (d + "/pid").c_str(), "-L", (d + "/log").c_str(),
          "-t", "120", static_cast<char*>(nullptr));
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
