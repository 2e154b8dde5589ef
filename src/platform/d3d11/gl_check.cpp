#include "platform/d3d11/gl_check.h"

#include <epoxy/gl.h>

#include <cstdarg>
#include <cstdio>

namespace platform::d3d11 {
namespace {

std::vector<GLDebugMessage>& CollectedMessages() {
  static std::vector<GLDebugMessage> messages;
  return messages;
}

size_t& DroppedMessages() {
  static size_t dropped = 0;
  return dropped;
}

void Keep(unsigned type, unsigned severity, std::string text) {
  std::vector<GLDebugMessage>& messages = CollectedMessages();
  if (messages.size() >= kKeptGLDebugMessages) {
    ++DroppedMessages();
    return;
  }
  messages.push_back({type, severity, std::move(text)});
}

void GLAPIENTRY OnDebugMessage(GLenum source, GLenum type, GLuint /*id*/, GLenum severity, GLsizei length,
                               const GLchar* message, const void* /*user*/) {
  if (severity == GL_DEBUG_SEVERITY_NOTIFICATION) return;
  // The driver's remarks on the generated GLSL (temporaries it thinks uninitialised) are not
  // faults of a call; a GLSL that does not compile fails its Create*Shader instead.
  if (source == GL_DEBUG_SOURCE_SHADER_COMPILER && type != GL_DEBUG_TYPE_ERROR) return;
  if (type != GL_DEBUG_TYPE_ERROR && type != GL_DEBUG_TYPE_UNDEFINED_BEHAVIOR &&
      type != GL_DEBUG_TYPE_DEPRECATED_BEHAVIOR && type != GL_DEBUG_TYPE_PORTABILITY &&
      severity != GL_DEBUG_SEVERITY_HIGH) {
    return;
  }
  std::string text(message, length >= 0 ? static_cast<size_t>(length) : std::char_traits<char>::length(message));
  std::fprintf(stderr, "GL debug: %s\n", text.c_str());
  Keep(type, severity, std::move(text));
}

}  // namespace

bool CheckGLError(const char* where) {
  bool clean = true;
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
    std::fprintf(stderr, "GL error 0x%04x in %s\n", error, where);
    clean = false;
  }
  return clean;
}

void InstallGLDebugOutput() {
  if (!epoxy_has_gl_extension("GL_KHR_debug") && epoxy_gl_version() < 43) return;
  glEnable(GL_DEBUG_OUTPUT);
  glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
  glDebugMessageCallback(OnDebugMessage, nullptr);
}

std::vector<GLDebugMessage> TakeGLDebugMessages() {
  std::vector<GLDebugMessage> taken;
  taken.swap(CollectedMessages());
  if (DroppedMessages() > 0) {
    taken.push_back({taken.back().type, taken.back().severity,
                     "and " + std::to_string(DroppedMessages()) + " more messages not kept"});
    DroppedMessages() = 0;
  }
  return taken;
}

void ReportRefusal(const char* format, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof(text), format, arguments);
  va_end(arguments);
  std::fprintf(stderr, "d3d11: %s\n", text);
  Keep(kLayerRefusal, GL_DEBUG_SEVERITY_HIGH, text);
}

void ReportNotImplemented(const char* what) { ReportRefusal("%s is not implemented", what); }

}  // namespace platform::d3d11
