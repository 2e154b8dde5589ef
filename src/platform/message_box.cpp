#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>

namespace platform {
namespace {

struct MessageBoxState {
  bool interactive = false;
  std::vector<MessageBoxRecord> shown;
};

MessageBoxState& State() {
  static MessageBoxState state;
  return state;
}

}  // namespace

void MessageBox(HWND, std::string_view text, std::string_view caption, UINT style) {
  MessageBoxState& state = State();
  state.shown.push_back({std::string(text), std::string(caption), style});
  std::fprintf(stderr, "[%.*s] %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
  std::fflush(stderr);
  if (!state.interactive) return;
  const Uint32 flags = (style & MB_ICONERROR) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  // Without an owner window SDL shows the box on its own; a box that cannot be shown is
  // already on stderr.
  SDL_ShowSimpleMessageBox(flags, std::string(caption).c_str(), std::string(text).c_str(), nullptr);
}

void SetInteractiveMessageBoxes(bool enabled) { State().interactive = enabled; }

std::vector<MessageBoxRecord> TakeShownMessageBoxes() {
  std::vector<MessageBoxRecord> shown;
  shown.swap(State().shown);
  return shown;
}

}  // namespace platform
