// The background sound of the sample: a soft ambience of low drones that swell slowly and a
// gusting wind, faded in and out. The same samples come out on every run.
#pragma once

#include <cstdint>
#include <vector>

// Mono samples at `sampleRate`, peaking well below full scale.
std::vector<std::int16_t> SynthesiseAmbience(int sampleRate, double seconds);
