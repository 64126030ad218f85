#pragma once

// Reading one CSV field's text: blanks around it, quoting it in a message, a whole number in it.

#include <optional>
#include <string>

namespace tavrin21::host {

// `text` without the blanks and tabs around it.
std::string Trimmed(const std::string& text);

// `text` in double quotes, for a message that names it.
std::string Quoted(const std::string& text);

// The whole number that is all of `text`, or nothing.
std::optional<long> WholeNumber(const std::string& text);

}  // namespace tavrin21::host
