#include "diag/ProblemText.h"

#include <algorithm>

#include "diag/OverlayText.h"

namespace {

// One line of the message as it is shown: tabs as spaces, no carriage return or trailing blanks.
std::wstring Tidy(std::string_view line) {
  std::wstring wide = WidenUtf8(line);
  std::wstring tidy;
  for (wchar_t c : wide) {
    if (c == L'\t') tidy += L"  ";
    else if (c != L'\r') tidy += c;
  }
  while (!tidy.empty() && tidy.back() == L' ') tidy.pop_back();
  return tidy;
}

}  // namespace

std::wstring CutToWidth(const std::wstring& line, const TextWidthFunction& width, float maxWidth) {
  if (width(line) <= maxWidth) return line;
  // The longest start that still fits with the ellipsis (widths only grow with length).
  size_t fits = 0, tooLong = line.size();
  while (tooLong - fits > 1) {
    const size_t middle = (fits + tooLong) / 2;
    (width(line.substr(0, middle) + L"...") <= maxWidth ? fits : tooLong) = middle;
  }
  return line.substr(0, fits) + L"...";
}

ProblemLines LayOutProblem(std::string_view problem, const TextWidthFunction& width, float maxWidth, size_t maxLines) {
  std::vector<std::wstring> message;
  for (size_t start = 0; start < problem.size();) {
    size_t end = problem.find('\n', start);
    if (end == std::string_view::npos) end = problem.size();
    std::wstring line = Tidy(problem.substr(start, end - start));
    if (!line.empty()) message.push_back(std::move(line));
    start = end + 1;
  }
  ProblemLines laid;
  if (message.empty() || maxLines == 0) return laid;

  // In a small window the message itself matters more than the heading.
  laid.headed = maxLines >= 3;
  if (laid.headed) laid.lines.push_back(CutToWidth(kProblemHeading, width, maxWidth));
  // The last line of room counts what is left out, unless it is the only line.
  const size_t room = maxLines - laid.lines.size();
  const bool counted = message.size() > room && room >= 2;
  const size_t shown = std::min(message.size(), counted ? room - 1 : room);
  for (size_t i = 0; i < shown; ++i) laid.lines.push_back(CutToWidth(message[i], width, maxWidth));
  if (counted) {
    const size_t more = message.size() - shown;
    laid.lines.push_back(CutToWidth(L"(" + std::to_wstring(more) + (more == 1 ? L" more line" : L" more lines") +
                                        L" on stderr)",
                                    width, maxWidth));
  }
  return laid;
}
