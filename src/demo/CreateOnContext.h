#pragma once
// The Demo's creation step for one drawing object: allocate it on the Demo's RenderContext and
// create it; a failed creation shows the member's message. The object stays in its member
// either way, for Shutdown.
#include <new>

#include "demo/Demo.h"

template <class Object, class... Arguments>
bool CreateOnContext(Demo& demo, Object*& member, const char* message, Arguments... arguments) {
  member = new (std::nothrow) Object(demo.m_renderContext);
  if (!member) return false;
  // Targets carry their member's name ("m_pRTT_1_1") for the frame profiler.
  if constexpr (requires { member->name = message; }) member->name = message;
  if (member->Create(arguments...)) return true;
  demo.ReportError(message);
  return false;
}
