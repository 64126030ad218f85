#pragma once

// A batch's progress on standard error while it runs: items done, items a second and time left.
// Shown only on a terminal and only for a long batch; a short one or a redirected standard error
// gets nothing, so logs and pipes hold only the results and the problems.

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <streambuf>

namespace tavrin21::host {

class ProgressMeter {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // `enabled`: standard error is a terminal. `totalBytes`: the items file's size, which with
    // the bytes read so far gives the time left without counting the items first (0: unknown).
    ProgressMeter(std::ostream& err,
                  bool enabled,
                  std::uintmax_t totalBytes,
                  Clock clock = DefaultClock);
    ~ProgressMeter();
    ProgressMeter(const ProgressMeter&) = delete;
    ProgressMeter& operator=(const ProgressMeter&) = delete;

    // Where the batch's problems go: standard error, with the progress line cleared first so
    // that a problem is never written over it.
    std::ostream& Errors() { return errors_; }

    // Whether progress is shown at all: where it is not, nothing need count the bytes read.
    bool Enabled() const { return enabled_; }

    // One more item done; `bytesRead` is asked only when the line is redrawn.
    void ItemDone(const std::function<std::uintmax_t()>& bytesRead);

    // Clears the progress line at the end of the batch.
    void Finish();

  private:
    // Passes everything on to standard error, clearing the progress line before the first byte.
    class ClearingBuffer : public std::streambuf {
      public:
        ClearingBuffer(ProgressMeter& meter, std::streambuf* target)
            : meter_(meter), target_(target) {}

      protected:
        int overflow(int c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;
        int sync() override { return target_->pubsync(); }

      private:
        ProgressMeter& meter_;
        std::streambuf* target_;
    };

    static std::chrono::steady_clock::time_point DefaultClock() {
        return std::chrono::steady_clock::now();
    }
    void Clear();

    std::ostream& err_;
    bool enabled_;
    std::uintmax_t totalBytes_;
    Clock clock_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
    std::uintmax_t items_ = 0;
    std::size_t shownWidth_ = 0;  // of the line on the terminal; 0: none shown
    ClearingBuffer buffer_;
    std::ostream errors_;
};

}  // namespace tavrin21::host
