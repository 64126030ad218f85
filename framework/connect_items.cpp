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
                const std::size_t close = connectString.find('}', valueEnd);
                valueEnd = close == std::string::npos ? connectString.size() : close + 1;
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

std::string RedactPassword(const std::string& connectString) {
    std::string result;
    for (const ConnectItem& item : ConnectItems(connectString)) {
        const bool secret =
            EqualsIgnoringCase(item.key, "PWD") || EqualsIgnoringCase(item.key, "Password");
        result += secret ? item.text.substr(0, item.text.find('=') + 1) + "***" : item.text;
        result += ';';
    }
    if (!connectString.empty() && connectString.back() != ';' && !result.empty()) {
        result.pop_back();
    }
    return result;
}

}  // namespace framework
