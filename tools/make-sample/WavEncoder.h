// Writes 16-bit PCM samples as a RIFF WAVE file.
#pragma once

#include <cstdint>
#include <vector>

// `samples` interleaved when channels > 1.
std::vector<unsigned char> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate,
                                     int channels);
