#pragma once
// Whether a GL context is current on this thread; objects released after their context has gone
// (a leak at exit) then skip their GL deletes instead of calling into nothing.
namespace platform::d3d11 {
bool HasCurrentGLContext();
}
