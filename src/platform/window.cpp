#include "platform/window.h"

#include <cstdio>
#include <cstring>

namespace platform {
namespace {

bool g_headless = false;

bool StartVideo(const char* driver) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, driver ? driver : "");
  return SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
}

void SetOpenGlAttributes() {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // The show renders into its own targets; the window only receives the finished picture.
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

bool StartHeadless() {
  g_headless = true;
  if (StartVideo("offscreen")) return true;
  std::fprintf(stderr, "Headless video could not start: %s\n", SDL_GetError());
  return false;
}

}  // namespace

bool InitializeVideo(VideoMode mode) {
  const char* requested = SDL_getenv("SDL_VIDEODRIVER");
  const bool offscreenRequested = requested && std::strcmp(requested, "offscreen") == 0;
  if (mode == VideoMode::Headless || offscreenRequested) return StartHeadless();

  g_headless = false;
  const bool displayAnnounced = SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY");
  if ((displayAnnounced || mode == VideoMode::Display) && StartVideo(nullptr)) {
    // SDL falls back to its own off-screen drivers when no display answers.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool shows = driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
    if (shows) return true;
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }
  if (mode == VideoMode::Display) {
    std::fprintf(stderr, "No display found.\n");
    return false;
  }
  std::fprintf(stderr, "No display found; running headless.\n");
  return StartHeadless();
}

void ShutdownVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS); }

bool IsHeadless() { return g_headless; }

int DesktopWidth() {
  SDL_DisplayMode mode;
  return SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.w : 0;
}

int DesktopHeight() {
  SDL_DisplayMode mode;
  return SDL_GetDesktopDisplayMode(0, &mode) == 0 ? mode.h : 0;
}

Window* Window::Create(const WindowDesc& desc) {
  SetOpenGlAttributes();
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
  if (desc.fullScreen) flags |= SDL_WINDOW_FULLSCREEN;
  SDL_Window* sdl = SDL_CreateWindow(desc.title.c_str(), desc.x, desc.y, desc.width, desc.height, flags);
  if (!sdl) {
    std::fprintf(stderr, "Window could not be created: %s\n", SDL_GetError());
    return nullptr;
  }
  if (desc.fullScreen) {
    // A real mode switch: the closest mode the display offers for the chosen size.
    SDL_DisplayMode wanted{SDL_PIXELFORMAT_RGB888, desc.width, desc.height, 0, nullptr};
    SDL_DisplayMode closest;
    const int display = SDL_GetWindowDisplayIndex(sdl);
    if (SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &wanted, &closest)) {
      SDL_SetWindowDisplayMode(sdl, &closest);
    }
  }
  Window* window = new Window();
  window->m_window = sdl;
  window->m_width = desc.width;
  window->m_height = desc.height;
  window->m_fullScreen = desc.fullScreen;
  return window;
}

void Window::Destroy(Window* window) {
  if (!window) return;
  window->RestoreDesktopMode();
  SDL_DestroyWindow(window->m_window);
  delete window;
}

void Window::Show() { SDL_ShowWindow(m_window); }

void Window::Focus() { SDL_RaiseWindow(m_window); }

void Window::SetTitle(const std::string& title) { SDL_SetWindowTitle(m_window, title.c_str()); }

std::string Window::Title() const { return SDL_GetWindowTitle(m_window); }

void Window::RestoreDesktopMode() {
  if (m_fullScreen) {
    SDL_SetWindowFullscreen(m_window, 0);
    m_fullScreen = false;
  }
}

bool PeekMessage(MSG* message) {
  SDL_Event event;
  if (!SDL_PollEvent(&event)) return false;
  *message = MSG{};
  switch (event.type) {
    case SDL_QUIT:
      message->message = WM_QUIT;
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) message->message = WM_CLOSE;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const bool down = event.type == SDL_KEYDOWN;
      const SDL_Keycode key = event.key.keysym.sym;
      // With Alt held (and for F10) keys are system keys; Alt+F4 asks the window to close.
      const bool system = (event.key.keysym.mod & KMOD_ALT) || key == SDLK_F10 || key == SDLK_LALT ||
                          key == SDLK_RALT;
      if (down && system && key == SDLK_F4) {
        message->message = WM_CLOSE;
        break;
      }
      message->message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
      message->wParam = VirtualKeyFromSdl(key);
      break;
    }
    default:
      break;
  }
  return true;
}

void PostQuitMessage(int) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
}

void ShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

uint8_t VirtualKeyFromSdl(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint8_t>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint8_t>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<uint8_t>(0x70 + (key - SDLK_F1));
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return static_cast<uint8_t>(0x61 + (key - SDLK_KP_1));
  switch (key) {
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_TAB: return 0x09;
    case SDLK_RETURN: return 0x0D;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL: case SDLK_RCTRL: return 0x11;
    case SDLK_LALT: case SDLK_RALT: return 0x12;
    case SDLK_PAUSE: return 0x13;
    case SDLK_CAPSLOCK: return 0x14;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return 0x20;
    case SDLK_PAGEUP: return 0x21;
    case SDLK_PAGEDOWN: return 0x22;
    case SDLK_END: return 0x23;
    case SDLK_HOME: return 0x24;
    case SDLK_LEFT: return 0x25;
    case SDLK_UP: return 0x26;
    case SDLK_RIGHT: return 0x27;
    case SDLK_DOWN: return 0x28;
    case SDLK_INSERT: return 0x2D;
    case SDLK_DELETE: return 0x2E;
    case SDLK_KP_0: return 0x60;
    default: return 0;
  }
}

}  // namespace platform
