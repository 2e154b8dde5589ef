#pragma once
// One place that looks at OpenGL's error state, the KHR_debug messages and the calls the layer
// refuses: each goes to stderr and is kept for TakeGLDebugMessages, which the GPU tests fail on.
#include <string>
#include <vector>

namespace platform::d3d11 {

// Drains glGetError; writes "GL error 0x… in <where>" to stderr for each and returns false if any.
bool CheckGLError(const char* where);

// Turns on synchronous KHR_debug output for the current context: errors and warnings go to stderr
// and are kept for TakeGLDebugMessages.
void InstallGLDebugOutput();

// The type of a message that is the layer's own refusal of a call rather than the driver's.
constexpr unsigned kLayerRefusal = 0;

struct GLDebugMessage {
  unsigned type = 0;      // GL_DEBUG_TYPE_*, or kLayerRefusal
  unsigned severity = 0;  // GL_DEBUG_SEVERITY_*
  std::string text;
};

// Every error, warning and refusal reported since the last call, oldest first. At most
// kKeptGLDebugMessages are kept between calls (a show that never takes them must not grow); the
// rest are counted in one last message.
constexpr size_t kKeptGLDebugMessages = 256;
std::vector<GLDebugMessage> TakeGLDebugMessages();

// A call the layer refuses (outside its subset, or against Direct3D's rules): "d3d11: <text>" on
// stderr, kept as a kLayerRefusal message.
void ReportRefusal(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The refusal of a call outside the layer's subset (the call answers E_NOTIMPL).
void ReportNotImplemented(const char* what);

}  // namespace platform::d3d11
