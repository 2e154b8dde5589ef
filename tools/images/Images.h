#pragma once
// The generated pictures of the archive; each returns false when it could not be written.
#include <string>

class TextPainter;

bool WriteLoadingPicture(const std::string& path, const TextPainter& bold, const TextPainter& regular);
bool WriteTestCard(const std::string& path, const TextPainter& bold, const TextPainter& regular);
bool WriteFlagBackground(const std::string& path);
bool WriteSsaoNoise(const std::string& path);
bool WriteRadialFlash(const std::string& path);
bool WriteVignette(const std::string& path);
