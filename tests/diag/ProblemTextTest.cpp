// The lines a failed reload lays over the picture: a heading, the message's lines cut to the
// width of the screen, and never more lines than there is room for.
#include <gtest/gtest.h>

#include <string>

#include "diag/ProblemText.h"

namespace {

// Six pixels a character, as a fixed-width font would draw it.
float SixEach(const std::wstring& line) { return 6.0f * static_cast<float>(line.size()); }

const std::string kCompilerMessage =
    "c4e_PS.hlsl: c4e_PS.hlsl:3: error: 'this' : undeclared identifier\r\n"
    "c4e_PS.hlsl:3: error: ';' : Expected\n"
    "\n"
    "c4e_PS.hlsl: c4e_PS.hlsl(3): error at column 6, HLSL parsing failed.\n";

TEST(ProblemText, HeadingThenEveryNonBlankLineOfTheMessage) {
  const ProblemLines laid = LayOutProblem(kCompilerMessage, SixEach, 1000.0f, 8);
  EXPECT_TRUE(laid.headed);
  const std::vector<std::wstring>& lines = laid.lines;
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], kProblemHeading);
  EXPECT_EQ(lines[1], L"c4e_PS.hlsl: c4e_PS.hlsl:3: error: 'this' : undeclared identifier") << "no carriage return";
  EXPECT_EQ(lines[2], L"c4e_PS.hlsl:3: error: ';' : Expected");
  EXPECT_EQ(lines[3], L"c4e_PS.hlsl: c4e_PS.hlsl(3): error at column 6, HLSL parsing failed.");

  EXPECT_TRUE(LayOutProblem("", SixEach, 1000.0f, 8).lines.empty()) << "nothing to show, no box";
  EXPECT_TRUE(LayOutProblem("\n \t\n", SixEach, 1000.0f, 8).lines.empty());
  EXPECT_TRUE(LayOutProblem(kCompilerMessage, SixEach, 1000.0f, 0).lines.empty()) << "no room at all";
}

TEST(ProblemText, ASmallWindowShowsTheMessageWithoutTheHeading) {
  const ProblemLines two = LayOutProblem(kCompilerMessage, SixEach, 1000.0f, 2);
  EXPECT_FALSE(two.headed);
  ASSERT_EQ(two.lines.size(), 2u);
  EXPECT_EQ(two.lines[0], L"c4e_PS.hlsl: c4e_PS.hlsl:3: error: 'this' : undeclared identifier");
  EXPECT_EQ(two.lines[1], L"(2 more lines on stderr)");
  const ProblemLines one = LayOutProblem(kCompilerMessage, SixEach, 1000.0f, 1);
  ASSERT_EQ(one.lines.size(), 1u);
  EXPECT_EQ(one.lines[0], two.lines[0]) << "one line of room: the first line of the message, no count";
}

TEST(ProblemText, LongLinesAreCutToTheWidthWithAnEllipsis) {
  const float width = 6.0f * 20;
  const std::vector<std::wstring> lines = LayOutProblem(kCompilerMessage, SixEach, width, 8).lines;
  ASSERT_EQ(lines.size(), 4u);
  for (const std::wstring& line : lines) {
    EXPECT_LE(SixEach(line), width) << std::string(line.begin(), line.end());
    EXPECT_EQ(line.substr(line.size() - 3), L"...");
  }
  EXPECT_EQ(lines[2], L"c4e_PS.hlsl:3: er...") << "as much of the start as fits";

  EXPECT_EQ(CutToWidth(L"fits", SixEach, 24.0f), L"fits") << "exactly as wide as allowed";
  EXPECT_EQ(CutToWidth(L"fits!", SixEach, 24.0f), L"f...");
  EXPECT_EQ(CutToWidth(L"anything", SixEach, 10.0f), L"...") << "narrower than the ellipsis: the ellipsis alone";
  // Proportional widths: wide letters take more room.
  const auto wideW = [](const std::wstring& line) {
    float w = 0;
    for (wchar_t c : line) w += c == L'W' ? 12.0f : 4.0f;
    return w;
  };
  const std::wstring cut = CutToWidth(L"WWWWWWWWWWiiiiii", wideW, 60.0f);
  EXPECT_LE(wideW(cut), 60.0f);
  EXPECT_EQ(cut, L"WWWW...");
}

TEST(ProblemText, AMessageLongerThanTheRoomSaysHowManyLinesWentToStderr) {
  std::string message;
  for (int i = 1; i <= 12; ++i) message += "scene.c4e: line " + std::to_string(i) + "\n";
  const std::vector<std::wstring> lines = LayOutProblem(message, SixEach, 1000.0f, 5).lines;
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], L"scene.c4e: line 1");
  EXPECT_EQ(lines[3], L"scene.c4e: line 3");
  EXPECT_EQ(lines[4], L"(9 more lines on stderr)");

  // Exactly as many lines as there is room for: all of them, no count.
  const std::vector<std::wstring> four = LayOutProblem("a\nb\nc\nd", SixEach, 1000.0f, 5).lines;
  ASSERT_EQ(four.size(), 5u);
  EXPECT_EQ(four[4], L"d");
  const std::vector<std::wstring> three = LayOutProblem("a\nb\nc", SixEach, 1000.0f, 3).lines;
  ASSERT_EQ(three.size(), 3u);
  EXPECT_EQ(three[1], L"a");
  EXPECT_EQ(three[2], L"(2 more lines on stderr)");
  EXPECT_EQ(LayOutProblem("a\nb", SixEach, 1000.0f, 2).lines, (std::vector<std::wstring>{L"a", L"b"}));
  EXPECT_EQ(LayOutProblem("a\tb  ", SixEach, 1000.0f, 3).lines[1], L"a  b") << "tabs as spaces, no trailing blanks";
}

}  // namespace
