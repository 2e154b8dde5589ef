#pragma once
// MP3 files the sound tests encode themselves with libmp3lame.
#include <filesystem>
#include <functional>

// Encodes seconds of a signal, one function per channel of the time in seconds, at rate Hz
// into a constant-bit-rate MP3. Mono when right is empty.
void WriteMp3(const std::filesystem::path& path, double seconds, int rate, const std::function<float(double)>& left,
              const std::function<float(double)>& right = {});
