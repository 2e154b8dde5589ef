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

// The particle sprites of the presets.
bool WriteParticleGlow(const std::string& path);
bool WriteRing(const std::string& path);
bool WriteFormula(const std::string& path, const TextPainter& hand);
bool WriteBobColours(const std::string& path);
bool WriteAcid(const std::string& path);
bool WriteMolecularLsd(const std::string& path);
