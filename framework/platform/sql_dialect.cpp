#include "framework/platform/sql_dialect.h"

#include <algorithm>
#include <cctype>

namespace framework {

namespace {

bool StartsWithWord(std::string_view text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) {
            return false;
        }
    }
    const std::size_t after = at + word.size();
    return after == text.size() || !std::isalnum(static_cast<unsigned char>(text[after]));
}

std::size_t SkipSpaces(std::string_view text, std::size_t at) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    return at;
}

bool UsesLimit(std::string_view dbmsName) {
    for (std::string_view name : {"SQLite", "PostgreSQL", "MySQL"}) {
        if (dbmsName.substr(0, name.size()) == name) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string SqlForDbms(std::string_view dbmsName, const std::string& sql) {
    if (!UsesLimit(dbmsName)) {
        return sql;
    }
    const std::string_view text(sql);
    std::size_t at = SkipSpaces(text, 0);
    if (!StartsWithWord(text, at, "select")) {
        return sql;
    }
    const std::size_t afterSelect = at + 6;
    at = SkipSpaces(text, afterSelect);
    if (at == afterSelect || !StartsWithWord(text, at, "top")) {
        return sql;
    }
    const std::size_t afterTop = at + 3;
    at = SkipSpaces(text, afterTop);
    const std::size_t digits = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    const std::size_t afterCount = at;
    at = SkipSpaces(text, afterCount);
    if (digits == afterTop || afterCount == digits || at == afterCount || at == text.size()) {
        return sql;
    }
    std::string_view rest = text.substr(at);
    while (!rest.empty() &&
           (rest.back() == ';' || std::isspace(static_cast<unsigned char>(rest.back())))) {
        rest.remove_suffix(1);
    }
    if (StartsWithWord(rest, 0, "percent")) {
        return sql;
    }
    return std::string(text.substr(0, afterSelect)) + " " + std::string(rest) + " LIMIT " +
           std::string(text.substr(digits, afterCount - digits));
}

}  // namespace framework
