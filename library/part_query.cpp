#include "library/failure_library.h"

#include <string>

namespace tavrin21 {

namespace {

// The text as the body of an SQL string literal: every apostrophe doubled.
std::string EscapedForLiteral(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        escaped += c;
        if (c == '\'') {
            escaped += '\'';
        }
    }
    return escaped;
}

}  // namespace

std::string FailureLibrary::BuildPartQuery(const PartFailureRecord& key) const {
    // The codes are unsigned bytes: 255 stays 255.
    return "SELECT * FROM PartFR WHERE PartNumber='" + EscapedForLiteral(key.PartNumber) + "'" +
           " AND EnvCode = " + std::to_string(unsigned{key.EnvCode}) +
           " AND ProcCode = " + std::to_string(unsigned{key.ProcCode}) + " ORDER BY TimeNumber";
}

}  // namespace tavrin21
