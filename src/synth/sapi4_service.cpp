#include "synth/sapi4_service.hpp"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <speech-dispatcher/libspeechd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "platform/cp1252.hpp"
#include "platform/dynlib.hpp"
#include "platform/env.hpp"
#include "platform/events.hpp"
#include "synth/dispatch.hpp"

extern char** environ;

namespace teluma::synth {

namespace sapi4 {
namespace {

// The entry points of libspeechd, taken at run time so that the game starts without it.
struct ServiceLibrary {
  decltype(&spd_get_default_address) getDefaultAddress = nullptr;
  decltype(&SPDConnectionAddress__free) freeAddress = nullptr;
  decltype(&spd_open2) open = nullptr;
  decltype(&spd_close) close = nullptr;
  decltype(&spd_say) say = nullptr;
  decltype(&spd_cancel) cancel = nullptr;
  decltype(&spd_set_notification_on) notificationOn = nullptr;
  decltype(&spd_list_modules) listModules = nullptr;
  decltype(&free_spd_modules) freeModules = nullptr;
  decltype(&spd_list_synthesis_voices) listVoices = nullptr;
  decltype(&free_spd_voices) freeVoices = nullptr;
  decltype(&spd_set_output_module) setModule = nullptr;
  decltype(&spd_set_synthesis_voice) setVoice = nullptr;
  decltype(&spd_set_language) setLanguage = nullptr;
  decltype(&spd_set_voice_rate) setRate = nullptr;
  decltype(&spd_set_voice_pitch) setPitch = nullptr;
  decltype(&spd_set_data_mode) setDataMode = nullptr;
};

template <typename F>
bool Take(platform::LibraryHandle lib, F& into, const char* name) {
  into = platform::GetProc<F>(lib, name);
  return into != nullptr;
}

// Loaded once and kept: the library starts threads of its own that must not outlive its code.
const ServiceLibrary* Library() {
  static const ServiceLibrary* library = [] {
    platform::LibraryHandle lib = platform::LoadLibrary("libspeechd.so.2");
    if (!lib) return static_cast<ServiceLibrary*>(nullptr);
    static ServiceLibrary l;
    bool ok = Take(lib, l.getDefaultAddress, "spd_get_default_address") &&
              Take(lib, l.freeAddress, "SPDConnectionAddress__free") &&
              Take(lib, l.open, "spd_open2") && Take(lib, l.close, "spd_close") &&
              Take(lib, l.say, "spd_say") && Take(lib, l.cancel, "spd_cancel") &&
              Take(lib, l.notificationOn, "spd_set_notification_on") &&
              Take(lib, l.listModules, "spd_list_modules") &&
              Take(lib, l.freeModules, "free_spd_modules") &&
              Take(lib, l.listVoices, "spd_list_synthesis_voices") &&
              Take(lib, l.freeVoices, "free_spd_voices") &&
              Take(lib, l.setModule, "spd_set_output_module") &&
              Take(lib, l.setVoice, "spd_set_synthesis_voice") &&
              Take(lib, l.setLanguage, "spd_set_language") &&
              Take(lib, l.setRate, "spd_set_voice_rate") &&
              Take(lib, l.setPitch, "spd_set_voice_pitch") &&
              Take(lib, l.setDataMode, "spd_set_data_mode");
    if (!ok) {
      platform::FreeLibrary(lib);
      return static_cast<ServiceLibrary*>(nullptr);
    }
    return &l;
  }();
  return library;
}

// Where the service's notifications go. Only one engine is registered at a time; messages
// up to ignoreUpTo were cancelled and their late notifications count no more.
std::atomic<TtsNotifySink*> registeredNotify{nullptr};
std::atomic<TtsBufNotifySink*> registeredBuffer{nullptr};
std::atomic<size_t> ignoreUpTo{0};

void Wake() { platform::PostMessage({platform::MessageKind::Wake, WakeMessage, 0}); }

// Runs on the library's thread.
void OnBegin(size_t msgId, size_t, SPDNotificationType) {
  if (msgId <= ignoreUpTo) return;
  if (auto* buffer = registeredBuffer.load()) buffer->wordPosition = 0;
  if (auto* notify = registeredNotify.load()) notify->AudioStart();
  Wake();
}

void OnEndOrCancel(size_t msgId, size_t, SPDNotificationType) {
  if (msgId <= ignoreUpTo) return;
  if (auto* notify = registeredNotify.load()) notify->AudioStop();
  if (auto* buffer = registeredBuffer.load()) buffer->TextDataDone();
  Wake();
}

bool MayStartService() { return platform::Env::Default().StartsPrograms(); }

// Starts the service on the socket the desktop names, as the library itself would, but without
// waiting for the starter: the caller gives it a second. The starter is SPEECHD_CMD when set.
pid_t StartService(const SPDConnectionAddress& address) {
  if (address.method != SPD_METHOD_UNIX_SOCKET || !address.unix_socket_name) return -1;
  const char* command = std::getenv("SPEECHD_CMD");
  std::vector<std::string> args = {command && *command ? command : "/usr/bin/speech-dispatcher",
                                   "--spawn",
                                   "--communication-method",
                                   "unix_socket",
                                   "--socket-path",
                                   address.unix_socket_name};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd : {0, 1, 2}) posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_RDWR, 0);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, &attr, argv.data(), environ) != 0) pid = -1;
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Without the library's own start of a service, which could keep the game waiting.
SPDConnection* OpenConnection(const ServiceLibrary& lib, const SPDConnectionAddress& address) {
  char* error = nullptr;
  SPDConnection* spd = lib.open("teluma", "fala", nullptr, SPD_MODE_THREADED, &address, 0, &error);
  std::free(error);
  return spd;
}

// Starters still running when their second was over; reaped later so none stays a zombie.
std::vector<pid_t>& Starters() {
  static std::vector<pid_t> starters;
  return starters;
}

SPDConnection* StartAndConnect(const ServiceLibrary& lib, const SPDConnectionAddress& address) {
  std::erase_if(Starters(), [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
  pid_t starter = StartService(address);
  if (starter <= 0) return nullptr;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  SPDConnection* spd = nullptr;
  while (!spd && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    int status = 0;
    if (starter > 0 && waitpid(starter, &status, WNOHANG) == starter) {
      starter = 0;  // the service it started may still be coming up
      if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return nullptr;  // it refused
    }
    spd = OpenConnection(lib, address);
  }
  if (starter > 0) Starters().push_back(starter);
  return spd;
}

bool IsBrazilian(std::string language) {
  std::transform(language.begin(), language.end(), language.begin(),
                 [](unsigned char c) { return c == '_' ? '-' : std::tolower(c); });
  return language == "pt-br" || language.starts_with("pt-br-");
}

int Line(int value, int low, int zero, int high) {
  int rate =
      value <= zero ? (value - zero) * 100 / (zero - low) : (value - zero) * 100 / (high - zero);
  return std::clamp(rate, -100, 100);
}

}  // namespace

// Each change of the count from 0 is paired with exactly one change back to 0.
void TtsBufNotifySink::TextDataStarted() {
  if (pending.fetch_add(1) == 0) platform::BeginOutsidePoster();
}

void TtsBufNotifySink::TextDataDone() {
  int32_t n = pending.load();
  while (n > 0 && !pending.compare_exchange_weak(n, n - 1)) {
  }
  if (n == 1) platform::EndOutsidePoster();
}

void TtsBufNotifySink::Reset() {
  if (pending.exchange(0) > 0) platform::EndOutsidePoster();
}

void OrderModes(std::vector<EngineMode>& modes) {
  if (modes.empty()) return;
  std::stable_partition(modes.begin() + 1, modes.end(),
                        [](const EngineMode& m) { return IsBrazilian(m.language); });
}

int ServiceRate(int32_t wordsPerMinute) {
  return Line(std::clamp(wordsPerMinute, -1000, 10000), 80, 170, 400);
}

int ServicePitch(uint16_t hertz) { return Line(hertz, 60, 120, 240); }

struct TtsEngine::Connection {
  const ServiceLibrary* lib = nullptr;
  SPDConnection* spd = nullptr;
  std::atomic<size_t> lastMessage{0};
  // The watcher notices the service going away (no notification says so).
  std::thread watcher;
  int stopPipe[2] = {-1, -1};
  std::atomic<bool> lost{false};
  bool registered = false;

  void Watch() {
    int fd = fcntl(spd->socket, F_DUPFD_CLOEXEC, 0);
    if (fd < 0 || pipe2(stopPipe, O_CLOEXEC) != 0) {
      if (fd >= 0) close(fd);
      return;
    }
    watcher = std::thread([this, fd] {
      pollfd fds[2] = {{fd, POLLRDHUP, 0}, {stopPipe[0], POLLIN, 0}};
      while (poll(fds, 2, -1) < 0 && errno == EINTR) {
      }
      if (fds[0].revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) {
        lost = true;
        Wake();
      }
      close(fd);
    });
  }

  void StopWatching() {
    if (watcher.joinable()) {
      (void)!write(stopPipe[1], "x", 1);
      watcher.join();
    }
    for (int& fd : stopPipe)
      if (fd >= 0) close(fd), fd = -1;
  }

  ~Connection() {
    StopWatching();
    if (spd) lib->close(spd);
  }
};

TtsEngine::TtsEngine(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {}

TtsEngine::~TtsEngine() { UnRegister(); }

std::unique_ptr<TtsEngine> TtsEngine::Connect() {
  const ServiceLibrary* lib = Library();
  if (!lib) return nullptr;
  // A service that dies under us must not take the game with it.
  std::signal(SIGPIPE, SIG_IGN);
  char* error = nullptr;
  SPDConnectionAddress* address = lib->getDefaultAddress(&error);
  std::free(error);
  if (!address) return nullptr;
  SPDConnection* spd = OpenConnection(*lib, *address);
  if (!spd && MayStartService()) spd = StartAndConnect(*lib, *address);
  lib->freeAddress(address);
  if (!spd) return nullptr;
  auto connection = std::make_unique<Connection>();
  connection->lib = lib;
  connection->spd = spd;
  lib->setDataMode(spd, SPD_DATA_TEXT);
  return std::unique_ptr<TtsEngine>(new TtsEngine(std::move(connection)));
}

std::vector<EngineMode> TtsEngine::Modes() {
  const ServiceLibrary& lib = *connection_->lib;
  SPDConnection* spd = connection_->spd;
  char** modules = lib.listModules(spd);
  if (!modules) return {};
  std::vector<EngineMode> modes(1);
  for (char** m = modules; *m; ++m) {
    if (lib.setModule(spd, *m) != 0) continue;
    SPDVoice** voices = lib.listVoices(spd);
    for (SPDVoice** v = voices; v && *v; ++v)
      if ((*v)->name) modes.push_back({*m, (*v)->name, (*v)->language ? (*v)->language : ""});
    if (voices) lib.freeVoices(voices);
  }
  lib.freeModules(modules);
  OrderModes(modes);
  return modes;
}

bool TtsEngine::Select(const EngineMode& mode) {
  if (mode.module.empty()) return true;
  const ServiceLibrary& lib = *connection_->lib;
  SPDConnection* spd = connection_->spd;
  if (lib.setModule(spd, mode.module.c_str()) != 0) return false;
  if (!mode.language.empty() && lib.setLanguage(spd, mode.language.c_str()) != 0) return false;
  return lib.setVoice(spd, mode.voice.c_str()) == 0;
}

bool TtsEngine::Register(TtsNotifySink& notify, TtsBufNotifySink& buffer) {
  SPDConnection* spd = connection_->spd;
  ignoreUpTo = 0;  // message numbers start again with a new service
  registeredNotify = &notify;
  registeredBuffer = &buffer;
  connection_->registered = true;
  spd->callback_begin = OnBegin;
  spd->callback_end = OnEndOrCancel;
  spd->callback_cancel = OnEndOrCancel;
  const ServiceLibrary& lib = *connection_->lib;
  if (lib.notificationOn(spd, SPD_BEGIN) != 0 || lib.notificationOn(spd, SPD_END) != 0 ||
      lib.notificationOn(spd, SPD_CANCEL) != 0) {
    UnRegister();
    return false;
  }
  connection_->Watch();
  return true;
}

void TtsEngine::UnRegister() {
  connection_->StopWatching();
  if (!connection_->registered) return;
  connection_->registered = false;
  registeredNotify = nullptr;
  registeredBuffer = nullptr;
}

bool TtsEngine::SpeedSet(int32_t wordsPerMinute) {
  return connection_->lib->setRate(connection_->spd, ServiceRate(wordsPerMinute)) == 0;
}

bool TtsEngine::PitchSet(uint16_t hertz) {
  return connection_->lib->setPitch(connection_->spd, ServicePitch(hertz)) == 0;
}

bool TtsEngine::TextData(std::string_view text) {
  if (Lost()) return false;
  TtsBufNotifySink* buffer = registeredBuffer.load();
  // Counted before the service can answer, so that its end never comes first.
  if (buffer) buffer->TextDataStarted();
  std::string utf8 = platform::Cp1252ToUtf8(text);
  // Messages queue one behind the other, and a cancel takes the queued ones too (texts of
  // the lowest priority would still be spoken after it).
  int id = connection_->lib->say(connection_->spd, SPD_MESSAGE, utf8.c_str());
  if (id < 0) {
    if (buffer) buffer->TextDataDone();
    return false;
  }
  connection_->lastMessage = static_cast<size_t>(id);
  return true;
}

bool TtsEngine::AudioReset() {
  ignoreUpTo = connection_->lastMessage.load();
  return !Lost() && connection_->lib->cancel(connection_->spd) == 0;
}

bool TtsEngine::Lost() const { return connection_->lost; }

}  // namespace sapi4

}  // namespace teluma::synth
