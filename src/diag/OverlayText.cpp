#include "diag/OverlayText.h"

#include <cstring>
#include <sstream>

namespace {

constexpr size_t kDescriptionBytes = 127;

// The length of the UTF-8 sequence a lead byte starts, 0 for a byte that starts none.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

}  // namespace

std::wstring WidenUtf8(std::string_view text) {
  std::wstring wide;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = SequenceLength(lead);
    bool decoded = length > 0 && i + length <= text.size();
    uint32_t code = length == 1 ? lead : length == 2 ? (lead & 0x1Fu) : length == 3 ? (lead & 0x0Fu) : (lead & 0x07u);
    for (size_t k = 1; decoded && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      decoded = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3Fu);
    }
    if (!decoded) {
      wide.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    }
    wide.push_back(static_cast<wchar_t>(code));
    i += length;
  }
  return wide;
}

std::array<std::wstring, 3> OverlayLines(const OverlayValues& values) {
  const char* description = values.adapterDescription != nullptr ? values.adapterDescription : "";
  const std::string_view adapter(description, strnlen(description, kDescriptionBytes));

  std::wostringstream first;
  first << WidenUtf8(adapter) << L" (" << values.videoMemoryMiB << L" MB), FPS:" << values.fps
        << L" bass.dll:" << values.audioCpu << L" time:" << values.elapsed << L" fov:" << values.fov
        << L" shadow:" << values.shadowA << L", " << values.shadowB;

  std::wostringstream third;
  third << L"pp:" << values.finalEffect << L"=" << WidenUtf8(values.effectName)
        << L" fractal:" << values.fractal << L" delta:" << values.delta << L" osci1:" << values.oscSinFast
        << L" osci2:" << values.oscSinSlow;

  return {first.str(), WidenUtf8(values.sceneStatistics), third.str()};
}

std::string NarrowUtf8(std::wstring_view text) {
  std::string narrow;
  for (const wchar_t c : text) {
    const auto code = static_cast<uint32_t>(c);
    if (code < 0x80) {
      narrow.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      narrow.push_back(static_cast<char>(0xC0 | (code >> 6)));
      narrow.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      narrow.push_back(static_cast<char>(0xE0 | (code >> 12)));
      narrow.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      narrow.push_back(static_cast<char>(0xF0 | ((code >> 18) & 0x07)));
      narrow.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      narrow.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return narrow;
}
