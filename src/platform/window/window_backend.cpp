#include "platform/window/window_backend.hpp"

#include <SDL.h>
#include <SDL_ttf.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "platform/cp1252.hpp"
#include "platform/sound.hpp"
#include "platform/wave_file.hpp"
#include "platform/window/display_fd.hpp"
#include "platform/window/font.hpp"
#include "platform/window/sdl_keys.hpp"

namespace teluma::platform::window {
namespace {

constexpr int kMaxCells = 80 * 60;
constexpr int kMaxGridPixels = 4096;  // each way: more than a 4K screen shows, and a texture size graphics cards take

// True when the video driver SDL settled on puts a window on a screen, or was named in
// SDL_VIDEODRIVER on purpose.
bool VisibleVideoDriver() {
  const char* current = SDL_GetCurrentVideoDriver();
  if (!current) return false;
  std::string name = current;
  if (name != "offscreen" && name != "dummy") return true;
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  return asked && name == asked;
}

// What the window shows, as the program thread last presented it.
struct Frame {
  int columns = 80, rows = 25;
  std::array<uint8_t, kMaxCells> chars{};
  std::array<uint8_t, kMaxCells> attrs{};
  bool caretShown = false;
  int caretColumn = 0, caretRow = 0;
  std::shared_ptr<const Picture> picture;
  int pictureX = 0, pictureY = 0;
  std::string title;  // UTF-8
  uint64_t generation = 0;
};

SDL_Color ColourOf(const std::array<Rgb, 16>& colours, int index) {
  const Rgb& c = colours[index & 15];
  return SDL_Color{c.r, c.g, c.b, 255};
}

}  // namespace

struct WindowBackend::Impl {
  DisplayConfig config;
  GridView grid;
  int zoom = 2;

  // Shared between the two threads, under mutex.
  std::mutex mutex;
  std::condition_variable presented;
  Frame pending;
  uint64_t shownGeneration = 0;
  std::deque<std::function<void()>> requests;
  bool stop = false;

  // Program thread only.
  Frame building;

  // Window thread only.
  std::thread thread;
  Uint32 wakeEvent = 0;
  int xConnection = -1;  // the X server's socket, watched together with wakeFd
  int wakeFd = -1;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* canvas = nullptr;  // the text cells, grid sized
  SDL_Texture* scene = nullptr;   // cells, picture and caret together
  SDL_Texture* pictureTexture = nullptr;
  // Held, not just pointed at: a freed picture's address may come back for the next one.
  std::shared_ptr<const Picture> pictureShown;
  std::array<SDL_Texture*, 256> glyphs{};
  CellFont font;
  Frame drawn;           // what the canvas holds
  bool canvasValid = false;
  bool magnifying = false;
  int mouseX = 0, mouseY = 0;
  bool lalt = false;

  int Width() const { return config.columns * font.cellWidth; }
  int Height() const { return config.rows * font.cellHeight; }

  // --- window thread ---------------------------------------------------------------------

  bool Start() {
    // Drawing an 80 x 25 grid is cheapest with SDL's own software renderer; a GL renderer
    // without a graphics card (a virtual X server, a remote desktop) is several times slower.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    if (!VisibleVideoDriver()) {
      // Without a display SDL falls back on a driver that shows nothing: a window nobody can
      // see or type into would wait for ever. Asked for by name, it is the caller's choice.
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    if (!TTF_WasInit() && TTF_Init() != 0) return false;
    bool bold = config.fontWeight >= 600;
    std::string face = Cp1252ToUtf8(config.fontFace.empty() ? "Lucida Console" : config.fontFace);
    std::string file = FindFontFile(face, bold);
    SDL_Rect area{0, 0, 1024, 734};
    SDL_GetDisplayUsableBounds(0, &area);
    int cw = config.fontWidth > 0 ? config.fontWidth : DefaultCellWidth(area.w);
    int ch = config.fontHeight > 0 ? config.fontHeight : DefaultCellHeight(area.h);
    // The grid is kept whole in two textures: cells too large for them would leave no window
    // at all (or take gigabytes); the window shows at most a screenful anyway.
    cw = std::min(cw, kMaxGridPixels / config.columns);
    ch = std::min(ch, kMaxGridPixels / config.rows);
    if (file.empty() || !OpenCellFont(file, cw, ch, bold, font)) {
      std::fprintf(stderr, "Nenhuma fonte de largura fixa foi encontrada para a janela.\n");
      return false;
    }
    Uint32 flags = SDL_WINDOW_RESIZABLE | (config.maximized ? SDL_WINDOW_MAXIMIZED : 0);
    window = SDL_CreateWindow(Cp1252ToUtf8(config.title).c_str(), SDL_WINDOWPOS_UNDEFINED,
                              SDL_WINDOWPOS_UNDEFINED, Width(), Height(), flags);
    if (!window) return false;
    // The grid is never stretched: the window may shrink to 16 x 4 cells and grow to the grid.
    SDL_SetWindowMinimumSize(window, 16 * font.cellWidth, 4 * font.cellHeight);
    SDL_SetWindowMaximumSize(window, std::min(Width(), std::max(area.w, 16 * font.cellWidth)),
                             std::min(Height(), std::max(area.h, 4 * font.cellHeight)));
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_TARGETTEXTURE);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return false;
    canvas = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                               Width(), Height());
    scene = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                              Width(), Height());
    if (!canvas || !scene) return false;
    wakeEvent = SDL_RegisterEvents(1);
    xConnection = DisplayConnectionFd(window);
    wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    SDL_StartTextInput();
    return true;
  }

  void Finish() {
    for (auto*& g : glyphs)
      if (g) SDL_DestroyTexture(g), g = nullptr;
    if (pictureTexture) SDL_DestroyTexture(pictureTexture);
    if (scene) SDL_DestroyTexture(scene);
    if (canvas) SDL_DestroyTexture(canvas);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    if (font.font) TTF_CloseFont(font.font);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (wakeFd >= 0) close(wakeFd), wakeFd = -1;
  }

  // Each glyph is prepared once as a texture of exactly one cell, so that drawing a cell is a
  // plain copy (no scaling per frame).
  SDL_Texture* Glyph(uint8_t code) {
    if (code <= 32 || code == 160) return nullptr;
    if (!glyphs[code]) {
      std::string utf8 = Cp1252ToUtf8(std::string(1, static_cast<char>(code)));
      SDL_Surface* g = TTF_RenderUTF8_Blended(font.font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
      if (!g) return nullptr;
      SDL_Surface* cell = SDL_CreateRGBSurfaceWithFormat(0, font.cellWidth, font.cellHeight, 32,
                                                         SDL_PIXELFORMAT_ARGB8888);
      if (cell) {
        SDL_SetSurfaceBlendMode(g, SDL_BLENDMODE_NONE);
        SDL_Rect src{0, 0, g->w, std::min(g->h, font.cellHeight)};
        SDL_Rect dst{0, 0, font.cellWidth, src.h};
        if (g->w == font.cellWidth) SDL_BlitSurface(g, &src, cell, &dst);
        else SDL_BlitScaled(g, &src, cell, &dst);
        glyphs[code] = SDL_CreateTextureFromSurface(renderer, cell);
        SDL_FreeSurface(cell);
      }
      SDL_FreeSurface(g);
      if (glyphs[code]) SDL_SetTextureBlendMode(glyphs[code], SDL_BLENDMODE_BLEND);
    }
    return glyphs[code];
  }

  // Draws cells [from, to) of row as runs of equal attribute: the background of the run, then
  // its characters in the text colour.
  void DrawCells(const Frame& f, int row, int from, int to) {
    int cw = font.cellWidth, ch = font.cellHeight;
    for (int start = from; start < to;) {
      uint8_t attr = f.attrs[row * f.columns + start];
      int end = start;
      while (end < to && f.attrs[row * f.columns + end] == attr) ++end;
      SDL_Color bg = ColourOf(config.colours, attr >> 4), fg = ColourOf(config.colours, attr & 15);
      SDL_SetRenderDrawColor(renderer, bg.r, bg.g, bg.b, 255);
      SDL_Rect run{start * cw, row * ch, (end - start) * cw, ch};
      SDL_RenderFillRect(renderer, &run);
      for (int col = start; col < end; ++col) {
        SDL_Texture* g = Glyph(f.chars[row * f.columns + col]);
        if (!g) continue;
        SDL_SetTextureColorMod(g, fg.r, fg.g, fg.b);
        SDL_Rect dst{col * cw, row * ch, cw, ch};
        SDL_RenderCopy(renderer, g, nullptr, &dst);
      }
      start = end;
    }
  }

  // Brings the canvas up to date with frame f: only the stretch of each row that changed.
  void UpdateCanvas(const Frame& f) {
    SDL_SetRenderTarget(renderer, canvas);
    for (int row = 0; row < f.rows; ++row) {
      int first = -1, last = -1;
      for (int col = 0; col < f.columns; ++col) {
        int i = row * f.columns + col;
        if (!canvasValid || f.chars[i] != drawn.chars[i] || f.attrs[i] != drawn.attrs[i]) {
          if (first < 0) first = col;
          last = col;
        }
      }
      if (first >= 0) DrawCells(f, row, first, last + 1);
    }
    drawn.chars = f.chars;
    drawn.attrs = f.attrs;
    canvasValid = true;
  }

  void UpdatePicture(const Frame& f) {
    if (f.picture == pictureShown) return;
    if (pictureTexture) SDL_DestroyTexture(pictureTexture), pictureTexture = nullptr;
    pictureShown = f.picture;
    if (!pictureShown || pictureShown->width <= 0 || pictureShown->height <= 0 ||
        pictureShown->pixels.size() / pictureShown->width < size_t(pictureShown->height))
      return;
    pictureTexture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                       pictureShown->width, pictureShown->height);
    if (!pictureTexture) return;
    std::vector<uint32_t> argb(pictureShown->pixels.size());
    for (size_t i = 0; i < argb.size(); ++i) argb[i] = 0xFF000000u | pictureShown->pixels[i];
    SDL_UpdateTexture(pictureTexture, nullptr, argb.data(), pictureShown->width * 4);
  }

  void Compose(const Frame& f) {
    SDL_SetRenderTarget(renderer, scene);
    SDL_RenderCopy(renderer, canvas, nullptr, nullptr);
    if (pictureTexture) {
      SDL_Rect dst{f.pictureX, f.pictureY, pictureShown->width, pictureShown->height};
      SDL_RenderCopy(renderer, pictureTexture, nullptr, &dst);
    }
    if (f.caretShown) {
      int i = f.caretRow * f.columns + f.caretColumn;
      SDL_Color c = ColourOf(config.colours, f.attrs[i] & 15);
      SDL_SetRenderDrawColor(renderer, c.r, c.g, c.b, 255);
      SDL_Rect caret{f.caretColumn * font.cellWidth, f.caretRow * font.cellHeight + font.ascent,
                     font.cellWidth, 2};
      SDL_RenderFillRect(renderer, &caret);
    }
    SDL_SetRenderTarget(renderer, nullptr);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_Rect dst = Placement();
    if (magnifying) {
      // The image around the pointer, zoomed over the whole grid.
      int z = zoom, w = Width(), h = Height();
      SDL_Rect src{std::max(0, mouseX - mouseX / z), std::max(0, mouseY - mouseY / z), w / z, h / z};
      SDL_RenderCopy(renderer, scene, &src, &dst);
    } else {
      SDL_RenderCopy(renderer, scene, nullptr, &dst);
    }
    SDL_RenderPresent(renderer);
  }

  // Where the grid sits in the window: centred when the window is larger, from the top-left
  // corner (and cut) when it is smaller.
  SDL_Rect Placement() const {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer, &w, &h);
    return SDL_Rect{std::max(0, (w - Width()) / 2), std::max(0, (h - Height()) / 2), Width(), Height()};
  }

  void Render() {
    Frame f;
    {
      std::lock_guard<std::mutex> lock(mutex);
      f = pending;
    }
    if (f.title != drawn.title) SDL_SetWindowTitle(window, f.title.c_str()), drawn.title = f.title;
    UpdateCanvas(f);
    UpdatePicture(f);
    Compose(f);
    {
      std::lock_guard<std::mutex> lock(mutex);
      shownGeneration = f.generation;
    }
    presented.notify_all();
  }

  void Post(const std::vector<Message>& messages) {
    for (const auto& m : messages) PostMessage(m);
  }

  // Turns one SDL event into messages; true when the window must be drawn again.
  bool Handle(const SDL_Event& e) {
    switch (e.type) {
      case SDL_QUIT:
        PostMessage({MessageKind::Close, 0, 0});
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) PostMessage({MessageKind::Close, 0, 0});
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) PostMessage({MessageKind::FocusGained, 0, 0});
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
          // The Alt release may go to the window taking the focus (Alt+Tab).
          lalt = false;
          PostMessage({MessageKind::FocusLost, 0, 0});
        }
        return true;  // exposed, resized, shown: draw again
      case SDL_RENDER_TARGETS_RESET:
      case SDL_RENDER_DEVICE_RESET:
        canvasValid = false;
        return true;
      case SDL_KEYDOWN:
        if (e.key.keysym.sym == SDLK_LALT) lalt = true;
        Post(KeyDownMessages(e.key.keysym));
        break;
      case SDL_KEYUP:
        if (e.key.keysym.sym == SDLK_LALT) lalt = false;
        Post(KeyUpMessages(e.key.keysym));
        break;
      case SDL_TEXTINPUT:
        Post(TextMessages(e.text.text, lalt ? KMOD_LALT : SDL_GetModState()));
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_RIGHT) return false;
        magnifying = true;
        [[fallthrough]];
      case SDL_MOUSEMOTION: {
        SDL_Rect at = Placement();
        mouseX = std::clamp((e.type == SDL_MOUSEMOTION ? e.motion.x : e.button.x) - at.x, 0, Width());
        mouseY = std::clamp((e.type == SDL_MOUSEMOTION ? e.motion.y : e.button.y) - at.y, 0, Height());
        return magnifying;
      }
      case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_RIGHT) return false;
        magnifying = false;
        return true;
      default:
        break;
    }
    return false;
  }

  // Sleeps until the X server sends something or the program thread wakes us. SDL has read
  // every queued event before this, so a quiet connection means nothing is pending. The
  // timeout lets SDL turn a termination signal into a quit event even when the signal reached
  // another thread.
  void WaitForWork() {
    if (xConnection < 0 || wakeFd < 0) {
      SDL_WaitEventTimeout(nullptr, 10);
      return;
    }
    // Drawing and clipboard calls may have read events off the connection into the client's
    // own queue, where poll cannot see them: take those first.
    SDL_PumpEvents();
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return;
    pollfd fds[2] = {{xConnection, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    poll(fds, 2, 250);
    uint64_t count;
    while (read(wakeFd, &count, sizeof count) == sizeof count) {
    }
  }

  void Run(std::promise<bool> started) {
    bool ok = Start();
    started.set_value(ok);
    if (!ok) {
      Finish();
      return;
    }
    Render();
    for (;;) {
      SDL_Event e;
      bool changed = false;
      while (SDL_PollEvent(&e))
        if (e.type != wakeEvent) changed |= Handle(e);
      std::deque<std::function<void()>> todo;
      bool quit;
      uint64_t wanted;
      {
        std::lock_guard<std::mutex> lock(mutex);
        todo.swap(requests);
        quit = stop;
        wanted = pending.generation;
      }
      if (quit) break;
      if (changed || wanted != shownGeneration) Render();
      for (auto& request : todo) request();
      WaitForWork();
    }
    SaveScreenshot();
    Finish();
  }

  // TELUMA_SCREENSHOT names a BMP file that receives the window's last image when it closes.
  void SaveScreenshot() {
    const char* path = std::getenv("TELUMA_SCREENSHOT");
    if (!path || !*path) return;
    int w = Width(), h = Height();
    SDL_SetRenderTarget(renderer, scene);
    SDL_Surface* shot = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!shot) return;
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, shot->pixels, shot->pitch) != 0 ||
        SDL_SaveBMP(shot, path) != 0)
      std::fprintf(stderr, "Não foi possível gravar a imagem da janela em %s\n", path);
    SDL_FreeSurface(shot);
  }

  // --- program thread --------------------------------------------------------------------

  void Wake() {
    uint64_t one = 1;
    if (wakeFd >= 0 && write(wakeFd, &one, sizeof one) == sizeof one) return;
    SDL_Event e{};
    e.type = wakeEvent;
    SDL_PushEvent(&e);
  }

  // Runs f on the window thread and waits for it.
  template <typename T>
  T Ask(std::function<T()> f) {
    auto task = std::make_shared<std::packaged_task<T()>>(std::move(f));
    auto result = task->get_future();
    {
      std::lock_guard<std::mutex> lock(mutex);
      requests.push_back([task] { (*task)(); });
    }
    Wake();
    return result.get();
  }
};

WindowBackend::WindowBackend() : impl_(std::make_unique<Impl>()) {}
WindowBackend::~WindowBackend() { Close(); }

bool WindowBackend::Open(const DisplayConfig& config, const GridView& grid) {
  if (config.columns * config.rows > kMaxCells) return false;
  // A window opened again starts from nothing: the last one's stop flag and textures are gone.
  Close();
  impl_ = std::make_unique<Impl>();
  auto& d = *impl_;
  d.config = config;
  d.grid = grid;
  // A zoom of 0 cannot divide the picture: the default zoom stands in for it.
  d.zoom = config.zoom > 0 ? config.zoom : 2;
  d.building.columns = config.columns;
  d.building.rows = config.rows;
  d.building.title = Cp1252ToUtf8(config.title);
  std::promise<bool> started;
  auto ok = started.get_future();
  d.thread = std::thread([&d, p = std::move(started)]() mutable {
    d.Run(std::move(p));
    // SDL frees its per-thread state (the error text) only for threads it started itself:
    // without this every window opened leaves it behind.
    SDL_TLSCleanup();
  });
  if (ok.get()) {
    Present();
    return true;
  }
  d.thread.join();
  return false;
}

void WindowBackend::Close() {
  auto& d = *impl_;
  if (!d.thread.joinable()) return;
  {
    std::lock_guard<std::mutex> lock(d.mutex);
    d.stop = true;
  }
  d.Wake();
  d.thread.join();
}

void WindowBackend::DrawRun(int, int, int) {}  // the window thread finds what changed
void WindowBackend::Repaint() {}

void WindowBackend::Present() {
  auto& d = *impl_;
  if (!d.thread.joinable()) return;
  Frame& f = d.building;
  size_t cells = static_cast<size_t>(f.columns) * f.rows;
  if (d.grid.chars) std::copy(d.grid.chars, d.grid.chars + cells, f.chars.begin());
  if (d.grid.attrs) std::copy(d.grid.attrs, d.grid.attrs + cells, f.attrs.begin());
  ++f.generation;
  {
    std::lock_guard<std::mutex> lock(d.mutex);
    d.pending = f;
  }
  d.Wake();
}

void WindowBackend::SetCaret(bool shown, int column, int row) {
  auto& f = impl_->building;
  f.caretShown = shown;
  f.caretColumn = std::clamp(column, 0, f.columns - 1);
  f.caretRow = std::clamp(row, 0, f.rows - 1);
}

void WindowBackend::SetTitle(std::string_view cp1252Title) {
  impl_->building.title = Cp1252ToUtf8(cp1252Title);
}

void WindowBackend::Beep() {
  // The system's default beep: a short 880 Hz tone on the effect voice.
  static const std::vector<uint8_t> beep = [] {
    const uint32_t n = 1100;
    std::vector<uint8_t> w(kWaveHeaderBytes);
    PutWaveHeader(w.data(), n, 11025, 1, 8, 1);
    for (uint32_t i = 0; i < n; ++i) w.push_back((i * 880 * 2 / 11025) % 2 ? 160 : 96);
    return w;
  }();
  PlayEffectImage(beep, false);
}

void WindowBackend::ShowPicture(const Picture* picture, int x, int y) {
  auto& f = impl_->building;
  f.picture = picture ? std::make_shared<const Picture>(*picture) : nullptr;
  f.pictureX = x;
  f.pictureY = y;
}

void WindowBackend::SetClipboard(std::string_view cp1252Text) {
  DisplayBackend::SetClipboard(cp1252Text);
  if (!impl_->thread.joinable()) return;
  std::string utf8 = Cp1252ToUtf8(cp1252Text);
  impl_->Ask<bool>([utf8] { return SDL_SetClipboardText(utf8.c_str()) == 0; });
}

bool WindowBackend::GetClipboard(std::string& cp1252Text) {
  if (!impl_->thread.joinable()) return DisplayBackend::GetClipboard(cp1252Text);
  auto text = impl_->Ask<std::pair<bool, std::string>>([] {
    if (!SDL_HasClipboardText()) return std::pair<bool, std::string>{false, {}};
    char* t = SDL_GetClipboardText();
    std::pair<bool, std::string> r{t != nullptr, t ? t : ""};
    SDL_free(t);
    return r;
  });
  if (!text.first) return DisplayBackend::GetClipboard(cp1252Text);
  cp1252Text = Utf8ToCp1252(text.second);
  return true;
}

void WindowBackend::WaitPresented() {
  auto& d = *impl_;
  if (!d.thread.joinable()) return;
  std::unique_lock<std::mutex> lock(d.mutex);
  d.presented.wait(lock, [&] { return d.shownGeneration >= d.building.generation; });
}

bool WindowBackend::ReadPixel(int x, int y, Rgb& colour) {
  auto& d = *impl_;
  if (!d.thread.joinable()) return false;
  WaitPresented();
  uint32_t pixel = 0;
  bool ok = d.Ask<bool>([&d, x, y, &pixel] {
    SDL_Rect at = d.Placement();
    SDL_Rect r{at.x + x, at.y + y, 1, 1};
    return SDL_RenderReadPixels(d.renderer, &r, SDL_PIXELFORMAT_ARGB8888, &pixel, 4) == 0;
  });
  colour = Rgb{uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)};
  return ok;
}

int WindowBackend::CellWidth() const { return impl_->font.cellWidth; }
int WindowBackend::CellHeight() const { return impl_->font.cellHeight; }

void WindowBackend::Inject(const SDL_Event& event) {
  SDL_Event copy = event;
  SDL_PushEvent(&copy);
  impl_->Wake();
}

void RegisterWindowBackend() {
  RegisterBackend("window", [] { return std::make_unique<WindowBackend>(); });
}

}  // namespace teluma::platform::window
