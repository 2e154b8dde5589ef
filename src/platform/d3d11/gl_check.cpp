#include "platform/d3d11/gl_check.h"

#include <epoxy/gl.h>

#include <cstdio>

namespace platform::d3d11 {
namespace {

std::vector<GLDebugMessage>& CollectedMessages() {
  static std::vector<GLDebugMessage> messages;
  return messages;
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
  CollectedMessages().push_back({type, severity, std::move(text)});
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
  return taken;
}

void ReportNotImplemented(const char* what) { std::fprintf(stderr, "d3d11: %s is not implemented\n", what); }

}  // namespace platform::d3d11
