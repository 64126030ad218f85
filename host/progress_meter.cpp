#include "host/progress_meter.h"

#include <algorithm>
#include <cstdio>

namespace tavrin21::host {

namespace {

using Seconds = std::chrono::duration<double>;

// A batch is long once it has run this long or done this many items.
constexpr Seconds kLongBatchTime{2.0};
constexpr std::uintmax_t kLongBatchItems = 1000;
// Redrawing more often would cost more than it tells.
constexpr Seconds kRedrawInterval{0.25};

std::string Duration(double seconds) {
    const auto total = static_cast<long long>(seconds + 0.5);
    char text[32];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60,
                      total % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    }
    return text;
}

}  // namespace

int ProgressMeter::ClearingBuffer::overflow(int c) {
    meter_.Clear();
    return c == traits_type::eof() ? traits_type::not_eof(c) : target_->sputc(static_cast<char>(c));
}

std::streamsize ProgressMeter::ClearingBuffer::xsputn(const char* text, std::streamsize count) {
    meter_.Clear();
    return target_->sputn(text, count);
}

ProgressMeter::ProgressMeter(std::ostream& err,
                             bool enabled,
                             std::uintmax_t totalBytes,
                             Clock clock)
    : err_(err),
      enabled_(enabled),
      totalBytes_(totalBytes),
      clock_(std::move(clock)),
      start_(clock_()),
      lastDrawn_(start_),
      buffer_(*this, err.rdbuf()),
      errors_(&buffer_) {}

ProgressMeter::~ProgressMeter() {
    Finish();
}

void ProgressMeter::ItemDone(const std::function<std::uintmax_t()>& bytesRead) {
    ++items_;
    if (!enabled_) {
        return;
    }
    const auto now = clock_();
    const Seconds elapsed = now - start_;
    if ((elapsed < kLongBatchTime && items_ < kLongBatchItems) ||
        (shownWidth_ > 0 && now - lastDrawn_ < kRedrawInterval)) {
        return;
    }
    lastDrawn_ = now;
    std::string line = std::to_string(items_) + " items done";
    if (elapsed.count() > 0) {
        line +=
            ", " + std::to_string(static_cast<long long>(items_ / elapsed.count())) + " a second";
    }
    const std::uintmax_t read = bytesRead();
    if (totalBytes_ > 0 && read > 0 && read <= totalBytes_) {
        const double left =
            elapsed.count() * static_cast<double>(totalBytes_ - read) / static_cast<double>(read);
        line += ", " + Duration(left) + " left";
    }
    // Redrawn in place over the last one, with blanks rather than a terminal's escape codes so
    // that any console shows it.
    err_ << '\r' << line
         << std::string(shownWidth_ > line.size() ? shownWidth_ - line.size() : 0, ' ')
         << std::flush;
    shownWidth_ = std::max(shownWidth_, line.size());
}

void ProgressMeter::Finish() {
    Clear();
}

void ProgressMeter::Clear() {
    if (shownWidth_ == 0) {
        return;
    }
    err_ << '\r' << std::string(shownWidth_, ' ') << '\r' << std::flush;
    shownWidth_ = 0;
}

}  // namespace tavrin21::host
