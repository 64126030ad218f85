#pragma once

// The user-facing message box. Library code shows database errors through it; the program that
// hosts the code decides where they go by installing a sink.

#include "framework/platform/export.h"

#include <functional>
#include <string>

namespace framework {

inline constexpr unsigned kMessageBoxOk = 0;  // one OK button
inline constexpr int kIdOk = 1;

// Receives every message box; returns the button the user chose.
using MessageSink =
    std::function<int(const std::string& text, unsigned type, unsigned helpContext)>;

// Shows `text`. Without an installed sink the text is written as one line to standard error.
FRAMEWORK_API int MessageBox(const std::string& text,
                             unsigned type = kMessageBoxOk,
                             unsigned helpContext = 0);

// Installs `sink` (an empty one restores the standard-error default) and returns the previous.
FRAMEWORK_API MessageSink SetMessageSink(MessageSink sink);

// Installs a sink for the length of a scope and puts the previous one back.
class FRAMEWORK_API ScopedMessageSink {
  public:
    explicit ScopedMessageSink(MessageSink sink) : previous_(SetMessageSink(std::move(sink))) {}
    ~ScopedMessageSink() { SetMessageSink(std::move(previous_)); }
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

  private:
    MessageSink previous_;
};

}  // namespace framework
