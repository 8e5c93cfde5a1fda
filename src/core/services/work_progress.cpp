#include "core/services/work_progress.h"

#include <algorithm>

namespace tavrola {
namespace {

constexpr double kSmallestTold = 0.001;
constexpr auto kLongestSilence = std::chrono::milliseconds(200);

}  // namespace

void WorkProgress::Advance(double done) {
    done = std::clamp(done, 0.0, 1.0);
    done_ = done;
    if (!listener_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (done - told_ >= kSmallestTold || now - told_at_ >= kLongestSilence ||
        (done == 1.0 && told_ < 1.0)) {
        told_ = done;
        told_at_ = now;
        listener_(done);
    }
}

}  // namespace tavrola
