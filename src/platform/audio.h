#pragma once
// The music layer the Sound plays through, shaped like the small audio-library interface the
// show calls: initialise the output, stream an MP3 file, play it, read the current output
// waveform, report the CPU load, free everything. libmpg123 decodes while SDL's audio thread
// pulls the samples; a ring of the most recent output lets a frame copy exactly what is being
// heard. With no output device every call fails quietly and the show runs silent.
#include <cstdint>

using HSTREAM = uint32_t;

// Flag of BASS_ChannelGetData's length word: float samples; the low bits are the byte count.
constexpr uint32_t BASS_DATA_FLOAT = 0x40000000u;
// Flag of BASS_StreamCreateFile: the file name is a wide (here UTF-8) string.
constexpr uint32_t BASS_UNICODE = 0x80000000u;
// Flag of BASS_StreamCreateFile: the stream is only decoded, never played; BASS_ChannelGetData
// hands out its next samples.
constexpr uint32_t BASS_STREAM_DECODE = 0x00200000u;
// Mode of BASS_ChannelSetPosition: the position is a byte offset of the decoded stream.
constexpr uint32_t BASS_POS_BYTE = 0;

namespace platform {

// Offline (capture): no device is opened; a playing stream is decoded on demand up to where the
// manual clock (platform/clock.h) says it is due, so every read depends on show time alone.
// Takes effect at the next BASS_Init.
void UseOfflineOutput(bool offline);

// Opens the output: device -1 is the system's default output. Output is stereo float at
// frequency Hz. False when there is no device or the layer is already initialised.
bool BASS_Init(int device, uint32_t frequency, uint32_t flags, void* window, const void* classId);

// Opens an MP3 file for streaming decode (offset 0 and length 0: the whole file). 0 on failure:
// no output, no such file, or no MP3 frames in it.
HSTREAM BASS_StreamCreateFile(bool fromMemory, const char* file, uint64_t offset, uint64_t length, uint32_t flags);

// Starts (or with restart, rewinds and starts) the stream.
bool BASS_ChannelPlay(HSTREAM stream, bool restart);

// Stops the stream where it is; BASS_ChannelPlay without restart goes on from there.
bool BASS_ChannelPause(HSTREAM stream);

// Bytes of decoded output (stereo float) that seconds of the stream make; 0 for an unknown stream.
uint64_t BASS_ChannelSeconds2Bytes(HSTREAM stream, double seconds);
// Moves the stream so that its next output starts at the byte position (BASS_POS_BYTE only).
// The output counter goes on; a playing stream is due in real time from the moment it moved.
bool BASS_ChannelSetPosition(HSTREAM stream, uint64_t position, uint32_t mode);

// Byte position (BASS_POS_BYTE) of the music being heard now; while paused, where playing
// goes on. UINT64_MAX for an unknown stream or another mode.
uint64_t BASS_ChannelGetPosition(HSTREAM stream, uint32_t mode);

// Copies the latest (length & 0xFFFFFFF) bytes of the stream's current output as interleaved
// stereo floats into buffer and returns that byte count; -1, with buffer untouched, for an
// unknown stream, a stream that never played, or a length without BASS_DATA_FLOAT. A decoding
// stream instead decodes its next samples into buffer (silence past the end).
int32_t BASS_ChannelGetData(HSTREAM stream, void* buffer, uint32_t length);

// Closes one stream; false for an unknown one.
bool BASS_StreamFree(HSTREAM stream);

// Percent of one core the decoding and mixing took since the previous reading.
float BASS_GetCPU();

// Stops every stream, closes the output and forgets everything.
bool BASS_Free();

// Frames of the stream that have reached the output so far, interpolated between the audio
// thread's buffers; -1 for an unknown stream. For measuring the music against the show clock.
int64_t ChannelPlayedFrames(HSTREAM stream);

// The SDL audio device the output plays through; 0 offline or before BASS_Init. Reading a
// stream never waits for it: what a frame reads is copied out after each buffer.
uint32_t OutputDevice();

}  // namespace platform
