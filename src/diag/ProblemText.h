#pragma once
// The lines development mode lays over the picture while a reloaded file fails: a heading where
// there is room for it and the compiler's or loader's message, each line cut to the width it
// may take, at most a few lines, the last saying how many more went to stderr.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Pixel width of a line as the overlay's font draws it.
using TextWidthFunction = std::function<float(const std::wstring&)>;

constexpr wchar_t kProblemHeading[] = L"Reload failed; the version in use stays:";

struct ProblemLines {
  bool headed = false;  // lines[0] is the heading
  std::vector<std::wstring> lines;
};

// The heading (with room for three lines or more), then the message's non-blank lines (tabs
// as spaces, trailing blanks and carriage returns gone), each cut with "..." to at most
// maxWidth pixels. With more lines than maxLines allows, the last line says how many more
// there are (with room for one line, that line is the message's first). No lines for an
// empty message or no room.
ProblemLines LayOutProblem(std::string_view problem, const TextWidthFunction& width, float maxWidth, size_t maxLines);

// The line cut to maxWidth with "..." at its end; as it is when it fits.
std::wstring CutToWidth(const std::wstring& line, const TextWidthFunction& width, float maxWidth);
