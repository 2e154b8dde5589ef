#pragma once
// Every message box of the show goes through here: an SDL box when a display is there,
// and always the caption and text on stderr so headless runs and tests can read them.
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

constexpr UINT MB_OK = 0x00000000u;
constexpr UINT MB_ICONERROR = 0x00000010u;

namespace platform {

struct MessageBoxRecord {
  std::string text;
  std::string caption;
  UINT style = 0;
};

// Shows a box (modal when a display is there) and returns once it is dismissed.
void MessageBox(HWND owner, std::string_view text, std::string_view caption, UINT style);

// Interactive boxes are off by default in headless runs and tests; they still go to stderr.
void SetInteractiveMessageBoxes(bool enabled);

// Every box shown since the last call, oldest first; for tests.
std::vector<MessageBoxRecord> TakeShownMessageBoxes();

}  // namespace platform
