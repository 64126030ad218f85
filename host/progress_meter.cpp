#include "host/progress_meter.h"

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
        (shown_ && now - lastDrawn_ < kRedrawInterval)) {
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
    // \r and erase-to-end-of-line: the line is redrawn in place.
    err_ << '\r' << line << "\x1b[K" << std::flush;
    shown_ = true;
}

void ProgressMeter::Finish() {
    Clear();
}

void ProgressMeter::Clear() {
    if (!shown_) {
        return;
    }
    shown_ = false;
    err_ << "\r\x1b[K" << std::flush;
}

}  // namespace tavrin21::host
