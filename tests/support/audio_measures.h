#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <span>
#include <vector>

namespace tavrola::testing {

// The largest absolute sample value.
inline float Peak(std::span<const float> samples) {
    float peak = 0.0F;
    for (float sample : samples) {
        peak = std::max(peak, std::fabs(sample));
    }
    return peak;
}

// The peak of each consecutive window of `window` samples (the last one may be shorter).
inline std::vector<float> WindowPeaks(std::span<const float> samples, std::size_t window) {
    std::vector<float> peaks;
    for (std::size_t start = 0; start < samples.size(); start += window) {
        peaks.push_back(Peak(samples.subspan(start, std::min(window, samples.size() - start))));
    }
    return peaks;
}

// The signal's power at one frequency (Goertzel), normalised so a full-scale sine gives 0.25.
inline double PowerAt(std::span<const float> samples, double frequency, double sample_rate) {
    const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * frequency / sample_rate);
    double previous = 0.0;
    double before_previous = 0.0;
    for (float sample : samples) {
        const double current = sample + coefficient * previous - before_previous;
        before_previous = previous;
        previous = current;
    }
    const double power = previous * previous + before_previous * before_previous -
                         coefficient * previous * before_previous;
    const double n = static_cast<double>(samples.size());
    return power / (n * n);
}

}  // namespace tavrola::testing
