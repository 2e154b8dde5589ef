#pragma once
// One place that looks at OpenGL's error state, and the KHR_debug messages routed to stderr.
#include <string>
#include <vector>

namespace platform::d3d11 {

// Drains glGetError; writes "GL error 0x… in <where>" to stderr for each and returns false if any.
bool CheckGLError(const char* where);

// Turns on synchronous KHR_debug output for the current context: errors and warnings go to stderr
// and are kept for TakeGLDebugMessages.
void InstallGLDebugOutput();

struct GLDebugMessage {
  unsigned type = 0;      // GL_DEBUG_TYPE_*
  unsigned severity = 0;  // GL_DEBUG_SEVERITY_*
  std::string text;
};

// Every error or warning reported since the last call, oldest first.
std::vector<GLDebugMessage> TakeGLDebugMessages();

// The one stderr line of a call outside the layer's subset.
void ReportNotImplemented(const char* what);

}  // namespace platform::d3d11
