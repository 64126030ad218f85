#include "framework/connect_items.h"

#include <algorithm>
#include <regex>
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

std::string RedactPassword(const std::string& text) {
    // A key naming a password, then its value: in braces ("}}" inside), in quotes (as option
    // lists write it), or up to the next separator. A value already hidden is left alone, so
    // redacting twice changes nothing.
    static const std::regex keyed(
        R"(((?:pwd|passwd|password)\s*=\s*)(?!\*\*\*)(\{(?:[^}]|\}\})*\}?|'(?:[^'\\]|\\.)*'?|[^;\s}]*))",
        std::regex::icase);
    static const std::regex urlUserInfo(R"((://[^:/@\s;]*:)[^@\s;/]*@)");
    const std::string withoutKeyed = std::regex_replace(text, keyed, "$1***");
    return std::regex_replace(withoutKeyed, urlUserInfo, "$1***@");
}

}  // namespace framework
