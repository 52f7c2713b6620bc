#include "tools/make-sample/AmbientSound.h"

#include <algorithm>
#include <cmath>

#include "tools/make-sample/Random.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPeak = 0.35;  // of full scale: about -9 dBFS, a background level
constexpr double kFadeIn = 3.0;
constexpr double kFadeOut = 4.0;

// A drone partial whose level swells and ebbs over `swellPeriod` seconds.
struct Drone {
    double frequency, level, swellPeriod, swellPhase;
};

// A fifth and an octave over A1 with slightly detuned doubles, which beat slowly.
constexpr Drone kDrones[] = {
    {55.0, 0.30, 11.0, 0.0}, {55.35, 0.12, 13.0, 1.3}, {82.4, 0.18, 9.0, 2.1},
    {110.0, 0.12, 7.0, 0.7}, {164.9, 0.07, 17.0, 3.3}, {220.4, 0.04, 5.5, 4.2},
};

// One-pole low-pass filter.
class LowPass {
public:
    double Step(double input, double cutoff, int sampleRate) {
        const double alpha = 1.0 - std::exp(-kTwoPi * cutoff / sampleRate);
        state_ += alpha * (input - state_);
        return state_;
    }

private:
    double state_ = 0.0;
};

double Smooth(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3.0 - 2.0 * x);
}

}  // namespace

std::vector<std::int16_t> SynthesiseAmbience(int sampleRate, double seconds) {
    const auto count = static_cast<std::size_t>(seconds * sampleRate);
    std::vector<double> mix(count);
    Random noise(0x5EEDu);
    LowPass first, second, rumble;
    for (std::size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) / sampleRate;
        double value = 0.0;
        for (const Drone& drone : kDrones) {
            const double swell =
                0.55 + 0.45 * std::sin(kTwoPi * t / drone.swellPeriod + drone.swellPhase);
            value += drone.level * swell * std::sin(kTwoPi * drone.frequency * t);
        }
        // Wind: white noise through two low-passes whose cutoff wanders, less its lowest
        // rumble, in slow gusts.
        const double cutoff =
            420.0 + 260.0 * std::sin(kTwoPi * t / 6.3) + 120.0 * std::sin(kTwoPi * t / 2.7 + 1.0);
        const double band =
            second.Step(first.Step(noise.Signed(), cutoff, sampleRate), cutoff, sampleRate);
        const double wind = band - rumble.Step(band, 60.0, sampleRate);
        const double gust =
            0.5 + 0.3 * std::sin(kTwoPi * t / 8.5) + 0.2 * std::sin(kTwoPi * t / 3.1 + 2.0);
        value += 2.2 * gust * wind;
        mix[n] = value * Smooth(t / kFadeIn) * Smooth((seconds - t) / kFadeOut);
    }
    double peak = 0.0;
    for (double value : mix) {
        peak = std::max(peak, std::fabs(value));
    }
    const double gain = peak > 0.0 ? kPeak / peak : 0.0;
    std::vector<std::int16_t> samples(count);
    for (std::size_t n = 0; n < count; ++n) {
        samples[n] = static_cast<std::int16_t>(std::lround(mix[n] * gain * 32767.0));
    }
    return samples;
}
