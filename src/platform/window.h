#pragma once
// The show window and its message queue on SDL2, shaped like the few Win32 calls the
// Application makes: one message taken per call, key messages carrying virtual-key codes.
#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/win_types.h"

using WPARAM = uintptr_t;
using LPARAM = intptr_t;

constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

namespace platform {

enum class VideoMode {
  Display,   // a real display is required
  Headless,  // SDL's offscreen driver (EGL), nothing shown
  Automatic  // a display when there is one, else headless with a one-line notice
};

// Initialises SDL's video and event subsystems; false when no driver could be started.
bool InitializeVideo(VideoMode mode);
void ShutdownVideo();
bool IsHeadless();

// Size of the primary display (the desktop), or 0 × 0 when unknown.
int DesktopWidth();
int DesktopHeight();

struct WindowDesc {
  std::string title;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  // Switches the display to width × height for the window's lifetime.
  bool fullScreen = false;
};

// A borderless OpenGL-capable window, created hidden (Show makes it visible).
class Window {
 public:
  static Window* Create(const WindowDesc& desc);
  // Restores the desktop mode when the window switched it, then destroys the window.
  static void Destroy(Window* window);

  void Show();
  void Focus();
  void SetTitle(const std::string& title);
  std::string Title() const;
  SDL_Window* sdlWindow() const { return m_window; }
  int width() const { return m_width; }
  int height() const { return m_height; }
  bool fullScreen() const { return m_fullScreen; }
  // Leaves full screen so the desktop's own display mode comes back.
  void RestoreDesktopMode();

 private:
  Window() = default;
  SDL_Window* m_window = nullptr;
  int m_width = 0;
  int m_height = 0;
  bool m_fullScreen = false;
};

// Takes at most one message off the queue; false when the queue was empty.
bool PeekMessage(MSG* message);
void PostQuitMessage(int exitCode);
void ShowCursor(bool show);

// Virtual-key code of an SDL key, 0 for keys without one.
uint8_t VirtualKeyFromSdl(SDL_Keycode key);

}  // namespace platform

constexpr uint8_t VK_ESCAPE = 0x1B;
