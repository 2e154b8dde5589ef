#pragma once
// Scene captions: one line of text typeset in the show's display face, white with a soft drop
// shadow, on a transparent picture of 4.4 : 1 (the right half of the screen's bottom fifth).
// Every generator that owns a caption calls WriteCaption with its text and file name.
#include <string>
#include <vector>

#include "Picture.h"

namespace kit {

constexpr int kCaptionWidth = 880;
constexpr int kCaptionHeight = 200;
// The text stays this far inside every edge, shadow included.
constexpr int kCaptionMargin = 16;

// The caption picture of text (set in capitals with wide tracking, as large as fits), or an
// empty 0 × 0 picture when the face cannot be read.
Picture TypesetCaption(const std::string& text, const std::string& fontPath);

// White letters of the given coverage (width × height, rows top first, 0..1) over their soft
// drop shadow, on a transparent picture: the look of every caption and of the credits.
Picture WithSoftShadow(const std::vector<float>& letters, int width, int height);

// The display face the build found (League Spartan Bold from Debian's fonts-league-spartan).
const char* CaptionFontPath();

// Typesets text with the display face and writes it as a PNG; false when the face cannot be
// read or the file not written.
bool WriteCaption(const std::string& text, const std::string& path);

}  // namespace kit
