#include "framework/connect_items.h"

#include "framework/text_compare.h"

#include <algorithm>
#include <string_view>

namespace framework {

namespace {

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// The position just past the brace that closes the value opening at `open`; "}}" inside the
// braces is a '}' of the value.
std::size_t PastClosingBrace(const std::string& text, std::size_t open) {
    for (std::size_t at = open + 1; at < text.size(); ++at) {
        if (text[at] != '}') {
            continue;
        }
        if (at + 1 < text.size() && text[at + 1] == '}') {
            ++at;
            continue;
        }
        return at + 1;
    }
    return text.size();
}

}  // namespace

std::vector<ConnectItem> ConnectItems(const std::string& connectString) {
    std::vector<ConnectItem> items;
    std::size_t start = 0;
    while (start < connectString.size()) {
        const std::size_t equals = connectString.find_first_of("=;", start);
        std::size_t end;
        ConnectItem item;
        if (equals == std::string::npos || connectString[equals] == ';') {
            end = equals == std::string::npos ? connectString.size() : equals;
        } else {
            item.key = Trimmed(std::string_view(connectString).substr(start, equals - start));
            std::size_t valueEnd = equals + 1;
            if (valueEnd < connectString.size() && connectString[valueEnd] == '{') {
                valueEnd = PastClosingBrace(connectString, valueEnd);
            }
            end = std::min(connectString.find(';', valueEnd), connectString.size());
            item.value = connectString.substr(equals + 1, end - equals - 1);
        }
        item.text = connectString.substr(start, end - start);
        items.push_back(std::move(item));
        start = end + 1;
    }
    return items;
}

namespace {

bool StartsWithIgnoringCase(const std::string& text, std::size_t at, std::string_view word) {
    return text.size() - at >= word.size() &&
           EqualsIgnoringCase(std::string_view(text).substr(at, word.size()), word);
}

// Where the value of a password key written at `at` ("Pwd =", "password=") starts, or npos.
std::size_t PasswordValueAt(const std::string& text, std::size_t at) {
    for (const std::string_view key : {"password", "passwd", "pwd"}) {
        if (!StartsWithIgnoringCase(text, at, key)) {
            continue;
        }
        std::size_t next = text.find_first_not_of(' ', at + key.size());
        if (next == std::string::npos || text[next] != '=') {
            return std::string::npos;
        }
        next = text.find_first_not_of(' ', next + 1);
        return next == std::string::npos ? text.size() : next;
    }
    return std::string::npos;
}

// The end of a value starting at `at`: in braces ("}}" inside), in quotes (as option lists
// write it), or up to the next separator.
std::size_t ValueEnd(const std::string& text, std::size_t at) {
    if (at < text.size() && text[at] == '{') {
        return PastClosingBrace(text, at);
    }
    if (at < text.size() && text[at] == '\'') {
        for (std::size_t i = at + 1; i < text.size(); ++i) {
            if (text[i] == '\\') {
                ++i;
            } else if (text[i] == '\'') {
                return i + 1;
            }
        }
        return text.size();
    }
    const std::size_t end = text.find_first_of("; \t\n}", at);
    return end == std::string::npos ? text.size() : end;
}

// With `at` on the "://" of a URL: the end of "://user:password@", or npos when it has none.
std::size_t UserInfoPasswordAt(const std::string& text,
                               std::size_t at,
                               std::size_t& passwordStart) {
    const std::size_t colon = text.find_first_of(":/@ ;\n", at + 3);
    if (colon == std::string::npos || text[colon] != ':') {
        return std::string::npos;
    }
    const std::size_t atSign = text.find_first_of("@/ ;\n", colon + 1);
    if (atSign == std::string::npos || text[atSign] != '@') {
        return std::string::npos;
    }
    passwordStart = colon + 1;
    return atSign;
}

}  // namespace

std::string RedactPassword(const std::string& text) {
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t passwordStart = 0;
        if (const std::size_t value = PasswordValueAt(text, at);
            value != std::string::npos && text.compare(value, 3, "***") != 0) {
            result.append(text, at, value - at).append("***");
            at = ValueEnd(text, value);
        } else if (text.compare(at, 3, "://") == 0) {
            const std::size_t end = UserInfoPasswordAt(text, at, passwordStart);
            if (end == std::string::npos) {
                result += text[at++];
                continue;
            }
            result.append(text, at, passwordStart - at).append("***");
            at = end;
        } else {
            result += text[at++];
        }
    }
    return result;
}

}  // namespace framework
