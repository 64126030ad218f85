#pragma once

// Text from outside (part numbers, file names, driver messages) made safe to show on a terminal.

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrin21::host {

// Longest text, in bytes, that is echoed whole.
inline constexpr std::size_t kEchoedTextBytes = 200;

// `text` with control characters shown as escapes (\n, \r, \t, \x1b, and \xc2\x9b for the
// eight-bit controls), so a terminal shows them instead of obeying them, and cut to `maxBytes`
// with "..." when longer (never inside a UTF-8 character).
std::string Printable(std::string_view text, std::size_t maxBytes = kEchoedTextBytes);

// The columns a terminal gives `text`: one a character, whatever its length in UTF-8.
std::size_t ShownWidth(std::string_view text);

}  // namespace tavrin21::host
