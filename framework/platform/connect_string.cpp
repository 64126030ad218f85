#include "framework/platform/connect_string.h"

#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/platform/windows_path.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

namespace framework {

namespace {

// One "key=value" item of a connect string, or a bare word such as the "ODBC" of "ODBC;".
struct Item {
    std::string text;  // as written, without the ';'
    std::string key;   // trimmed; empty for a bare word
    std::string value;
};

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool SameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Splits at the ';' that end items; a value in braces may hold ';' of its own.
std::vector<Item> Items(const std::string& connectString) {
    std::vector<Item> items;
    std::size_t start = 0;
    while (start < connectString.size()) {
        const std::size_t equals = connectString.find_first_of("=;", start);
        std::size_t end;
        Item item;
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

std::string WithoutBraces(const std::string& value) {
    if (value.size() >= 2 && value.front() == '{' && value.back() == '}') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

std::string ConnectStringForDriverManager(const std::string& connectString) {
    std::vector<Item> items = Items(connectString);
    for (const Item& item : items) {
        if (SameKey(item.key, "DRIVER") && Trimmed(WithoutBraces(Trimmed(item.value))).empty()) {
            const std::string shown = RedactPassword(connectString);
            throw DbException("cannot connect to " + shown,
                              {{"IM002", 0, "the connect string names no driver"}}, shown);
        }
    }
    const auto hasKey = [&](std::string_view key) {
        return std::any_of(items.begin(), items.end(),
                           [&](const Item& item) { return SameKey(item.key, key); });
    };
    if (!hasKey("DBQ") || hasKey("Database")) {
        return connectString;
    }
    std::string result;
    for (const Item& item : items) {
        const std::string file = WithoutBraces(item.value);
        if (SameKey(item.key, "DBQ") && !file.empty()) {
            const std::string hostFile = HostPath(file).string();
            const bool needsBraces = hostFile.find_first_of(";{}") != std::string::npos;
            result += "Database=" + (needsBraces ? "{" + hostFile + "}" : hostFile);
        } else {
            result += item.text;
        }
        result += ';';
    }
    if (!connectString.empty() && connectString.back() != ';') {
        result.pop_back();
    }
    return result;
}

}  // namespace framework
