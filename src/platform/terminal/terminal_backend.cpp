#include "platform/terminal/terminal_backend.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/cp1252.hpp"
#include "platform/events.hpp"
#include "platform/terminal/keydecoder.hpp"

namespace teluma::platform::terminal {
namespace {

// What the signal handlers need: plain data only.
int gInFd = 0;
int gOutFd = 1;
struct termios gSaved;
volatile sig_atomic_t gRaw = 0;     // the terminal's own settings are saved in gSaved
volatile sig_atomic_t gActive = 0;  // our modes are on and must be undone
int gWakePipe[2] = {-1, -1};
// While the console is on the terminal, standard error goes into a pipe (gErrPipe) instead of
// over the drawn screen; gSavedErr is the real one, given back when the terminal is restored.
int gSavedErr = -1;
int gErrPipe = -1;
// Colours, cursor, focus reports, key mode and the window title the terminal had before.
const char kRestore[] = "\x1b[0m\x1b[?25h\x1b[?1004l\x1b[>4m\x1b[23;0t\r\n";

void RestoreTerminal() {
  if (!gActive) return;
  gActive = 0;
  if (gRaw) tcsetattr(gInFd, TCSAFLUSH, &gSaved);
  gRaw = 0;
  ssize_t ignored = write(gOutFd, kRestore, sizeof kRestore - 1);
  (void)ignored;
  if (gSavedErr >= 0) dup2(gSavedErr, 2);  // a crash message reaches the user
}

void OnCloseSignal(int sig) {
  char c = sig == SIGWINCH ? 'W' : 'C';
  if (gWakePipe[1] >= 0) {
    ssize_t ignored = write(gWakePipe[1], &c, 1);
    (void)ignored;
  }
}

void OnCrash(int sig) {
  RestoreTerminal();
  signal(sig, SIG_DFL);
  raise(sig);
}

const int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
const int kCloseSignals[] = {SIGHUP, SIGTERM, SIGINT, SIGQUIT};

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN) {
        struct pollfd p{fd, POLLOUT, 0};
        poll(&p, 1, 100);
        continue;
      }
      return;  // the terminal is gone
    }
    done += static_cast<size_t>(n);
  }
}

}  // namespace

struct TerminalBackend::Impl {
  DisplayConfig config;
  GridView grid;
  bool open = false;
  int termColumns = 80, termRows = 25;
  std::vector<int> shownChars, shownAttrs;  // what the terminal shows; -1 unknown
  std::string out;
  int lastAttr = -1;
  int atRow = -1, atColumn = -1;  // where the terminal cursor is after our output, -1 unknown
  bool caretShown = false;
  int caretColumn = 0, caretRow = 0;
  std::atomic<bool> resized{false};
  std::thread reader;
  std::string glyph[256];
  std::string heldErrors;  // what went to standard error while the screen was ours

  void ReadErrors() {
    if (gErrPipe < 0) return;
    char buffer[512];
    ssize_t n;
    while ((n = read(gErrPipe, buffer, sizeof buffer)) > 0)
      if (heldErrors.size() < 65536) heldErrors.append(buffer, static_cast<size_t>(n));
  }

  void ReadSize() {
    struct winsize ws{};
    if (ioctl(gOutFd, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
      termColumns = ws.ws_col;
      termRows = ws.ws_row;
    } else {
      termColumns = config.columns;
      termRows = config.rows;
    }
  }

  void Invalidate() {
    std::fill(shownChars.begin(), shownChars.end(), -1);
    std::fill(shownAttrs.begin(), shownAttrs.end(), -1);
    lastAttr = -1;
    atRow = atColumn = -1;
  }

  void Colour(int attr) {
    if (attr == lastAttr) return;
    lastAttr = attr;
    const Rgb& f = config.colours[attr & 15];
    const Rgb& b = config.colours[(attr >> 4) & 15];
    out += "\x1b[38;2;" + std::to_string(f.r) + ';' + std::to_string(f.g) + ';' +
           std::to_string(f.b) + ";48;2;" + std::to_string(b.r) + ';' + std::to_string(b.g) +
           ';' + std::to_string(b.b) + 'm';
  }

  void MoveTo(int row, int column) {
    if (row == atRow && column == atColumn) return;
    out += "\x1b[" + std::to_string(row + 1) + ';' + std::to_string(column + 1) + 'H';
    atRow = row;
    atColumn = column;
  }

  void Draw(int row, int from, int to) {
    if (row >= termRows) return;
    if (to > termColumns) to = termColumns;
    // The last cell of the terminal's last row would scroll some terminals: left alone.
    if (row == termRows - 1 && to == termColumns) --to;
    for (int c = from; c < to; ++c) {
      size_t i = static_cast<size_t>(row) * grid.columns + c;
      int ch = grid.chars[i], at = grid.attrs[i];
      if (shownChars[i] == ch && shownAttrs[i] == at) continue;
      MoveTo(row, c);
      Colour(at);
      out += glyph[ch];
      shownChars[i] = ch;
      shownAttrs[i] = at;
      ++atColumn;
    }
  }

  void DrawAll() {
    if (resized.exchange(false)) {
      ReadSize();
      out += "\x1b[0m\x1b[2J";
      Invalidate();
    }
    for (int r = 0; r < grid.rows; ++r) Draw(r, 0, grid.columns);
  }

  void Flush() {
    if (caretShown && caretRow < termRows && caretColumn < termColumns) {
      MoveTo(caretRow, caretColumn);
      out += "\x1b[?25h";
    } else {
      out += "\x1b[?25l";
    }
    WriteAll(gOutFd, out);
    out.clear();
  }

  void ReaderLoop() {
    KeyDecoder decoder;
    std::vector<TerminalInput> inputs;
    char buffer[256];
    for (;;) {
      struct pollfd fds[3] = {{gInFd, POLLIN, 0}, {gWakePipe[0], POLLIN, 0}, {gErrPipe, POLLIN, 0}};
      // A lone Esc is told from the start of a sequence by a short silence.
      int r = poll(fds, 3, decoder.Pending() ? 40 : -1);
      if (r < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (r == 0) {
        decoder.Flush(inputs);
      }
      if (fds[2].revents & POLLIN) ReadErrors();
      if (fds[1].revents & POLLIN) {
        char c;
        while (read(gWakePipe[0], &c, 1) == 1) {
          if (c == 'Q') return;
          if (c == 'W') {
            resized = true;
            PostMessage({MessageKind::Paint, 0, 0});
          }
          if (c == 'C') PostMessage({MessageKind::Close, 0, 0});
        }
      }
      if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
        ssize_t n = read(gInFd, buffer, sizeof buffer);
        if (n <= 0) {
          if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
          // End of input: the terminal is gone, as a closed window.
          PostMessage({MessageKind::Close, 0, 0});
          return;
        }
        decoder.Feed(std::string_view(buffer, static_cast<size_t>(n)), inputs);
      }
      for (const auto& in : inputs) {
        if (in.kind == TerminalInput::FocusIn) PostMessage({MessageKind::FocusGained, 0, 0});
        else if (in.kind == TerminalInput::FocusOut) PostMessage({MessageKind::FocusLost, 0, 0});
        else PostStroke(in.stroke);
      }
      inputs.clear();
    }
  }
};

TerminalBackend::TerminalBackend(bool requested)
    : impl_(std::make_unique<Impl>()), requested_(requested) {}

TerminalBackend::~TerminalBackend() { Close(); }

bool TerminalBackend::Open(const DisplayConfig& config, const GridView& grid) {
  auto& m = *impl_;
  if (!requested_ && !isatty(0) && !isatty(1)) return false;
  if (pipe(gWakePipe) != 0) return false;
  fcntl(gWakePipe[0], F_SETFL, O_NONBLOCK);
  fcntl(gWakePipe[1], F_SETFL, O_NONBLOCK);
  m.config = config;
  m.grid = grid;
  for (int i = 0; i < 256; ++i) {
    bool undefined = i < 32 || i == 0x7F || i == 0x81 || i == 0x8D || i == 0x8F || i == 0x90 || i == 0x9D;
    m.glyph[i] = undefined ? std::string("?") : Cp1252ToUtf8(std::string(1, static_cast<char>(i)));
  }
  m.shownChars.assign(static_cast<size_t>(grid.columns) * grid.rows, -1);
  m.shownAttrs.assign(m.shownChars.size(), -1);
  if (isatty(gInFd) && tcgetattr(gInFd, &gSaved) == 0) {
    struct termios raw = gSaved;
    raw.c_iflag &= ~(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
    raw.c_oflag &= ~OPOST;
    raw.c_cflag |= CS8;
    raw.c_lflag &= ~(ECHO | ICANON | IEXTEN | ISIG);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(gInFd, TCSAFLUSH, &raw) == 0) gRaw = 1;
  }
  struct sigaction sa{};
  sa.sa_handler = OnCrash;
  sigemptyset(&sa.sa_mask);
  for (int s : kCrashSignals) sigaction(s, &sa, nullptr);
  sa.sa_handler = OnCloseSignal;
  sa.sa_flags = SA_RESTART;
  for (int s : kCloseSignals) sigaction(s, &sa, nullptr);
  sigaction(SIGWINCH, &sa, nullptr);
  gActive = 1;
  int errPipe[2];
  if (isatty(2) && pipe(errPipe) == 0) {
    gSavedErr = dup(2);
    fcntl(errPipe[0], F_SETFL, O_NONBLOCK);
    fcntl(errPipe[1], F_SETFL, O_NONBLOCK);  // never block the program on a full pipe
    if (gSavedErr >= 0 && dup2(errPipe[1], 2) >= 0) {
      gErrPipe = errPipe[0];
    } else {
      close(errPipe[0]);
      if (gSavedErr >= 0) close(gSavedErr);
      gSavedErr = -1;
    }
    close(errPipe[1]);
  }
  m.ReadSize();
  // Focus reports, keys with modifiers told apart, a clean screen.
  m.out += "\x1b[22;0t\x1b[?1004h\x1b[>4;1m\x1b[0m\x1b[2J\x1b[?25l";
  m.open = true;
  SetTitle(config.title);
  m.reader = std::thread([&m] { m.ReaderLoop(); });
  return true;
}

void TerminalBackend::Close() {
  auto& m = *impl_;
  if (!m.open) return;
  m.open = false;
  if (m.reader.joinable()) {
    char q = 'Q';
    ssize_t ignored = write(gWakePipe[1], &q, 1);
    (void)ignored;
    m.reader.join();
  }
  m.caretShown = false;
  m.MoveTo(std::min(m.termRows, m.grid.rows) - 1, 0);
  m.Flush();
  m.ReadErrors();
  RestoreTerminal();
  if (gSavedErr >= 0) {
    // Messages written while the console was shown, now below it.
    WriteAll(2, m.heldErrors);
    m.heldErrors.clear();
    close(gSavedErr);
    gSavedErr = -1;
  }
  if (gErrPipe >= 0) close(gErrPipe);
  gErrPipe = -1;
  struct sigaction sa{};
  sa.sa_handler = SIG_DFL;
  for (int s : kCloseSignals) sigaction(s, &sa, nullptr);
  sigaction(SIGWINCH, &sa, nullptr);
  close(gWakePipe[0]);
  close(gWakePipe[1]);
  gWakePipe[0] = gWakePipe[1] = -1;
}

void TerminalBackend::DrawRun(int row, int from, int to) {
  if (impl_->open) impl_->Draw(row, from, to);
}

void TerminalBackend::Repaint() {
  if (impl_->open) impl_->DrawAll();
}

void TerminalBackend::Scrolled() {
  auto& m = *impl_;
  if (!m.open) return;
  if (m.termRows >= m.grid.rows && m.termColumns >= m.grid.columns && !m.resized) {
    // Let the terminal move its lines up, then draw only what differs.
    m.out += "\x1b[1;" + std::to_string(m.grid.rows) + "r\x1b[" + std::to_string(m.grid.rows) + ";1H\n\x1b[r";
    m.atRow = m.atColumn = -1;
    size_t cols = static_cast<size_t>(m.grid.columns);
    std::copy(m.shownChars.begin() + cols, m.shownChars.end(), m.shownChars.begin());
    std::copy(m.shownAttrs.begin() + cols, m.shownAttrs.end(), m.shownAttrs.begin());
    std::fill(m.shownChars.end() - cols, m.shownChars.end(), -1);
    std::fill(m.shownAttrs.end() - cols, m.shownAttrs.end(), -1);
  }
  m.DrawAll();
}

void TerminalBackend::Present() {
  if (impl_->open) impl_->Flush();
}

void TerminalBackend::SetCaret(bool shown, int column, int row) {
  impl_->caretShown = shown;
  impl_->caretColumn = column;
  impl_->caretRow = row;
}

void TerminalBackend::SetTitle(std::string_view title) {
  if (!impl_->open) return;
  std::string clean;
  for (char c : Cp1252ToUtf8(title))
    if (static_cast<unsigned char>(c) >= 32) clean += c;
  impl_->out += "\x1b]0;" + clean + "\x07";
}

void TerminalBackend::Beep() {
  if (impl_->open) impl_->out += "\x07";
}

void TerminalBackend::SetClipboard(std::string_view text) {
  DisplayBackend::SetClipboard(text);
  if (!impl_->open) return;
  static const char* b64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string utf8 = Cp1252ToUtf8(text), encoded;
  for (size_t i = 0; i < utf8.size(); i += 3) {
    uint32_t v = static_cast<uint8_t>(utf8[i]) << 16;
    if (i + 1 < utf8.size()) v |= static_cast<uint8_t>(utf8[i + 1]) << 8;
    if (i + 2 < utf8.size()) v |= static_cast<uint8_t>(utf8[i + 2]);
    encoded += b64[(v >> 18) & 63];
    encoded += b64[(v >> 12) & 63];
    encoded += i + 1 < utf8.size() ? b64[(v >> 6) & 63] : '=';
    encoded += i + 2 < utf8.size() ? b64[v & 63] : '=';
  }
  impl_->out += "\x1b]52;c;" + encoded + "\x07";
}

}  // namespace teluma::platform::terminal
