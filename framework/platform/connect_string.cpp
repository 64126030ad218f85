#include "framework/platform/connect_string.h"

#include "framework/connect_items.h"
#include "framework/db_exception.h"
#include "framework/platform/windows_path.h"
#include "framework/text_compare.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace framework {

namespace {

std::string WithoutBraces(const std::string& value) {
    if (value.size() >= 2 && value.front() == '{' && value.back() == '}') {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// True for a DRIVER value such as "", "  " or "{ }".
bool NamesNoDriver(const std::string& value) {
    const std::size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos) {
        return true;
    }
    const std::string inner =
        WithoutBraces(value.substr(first, value.find_last_not_of(' ') - first + 1));
    return inner.find_first_not_of(' ') == std::string::npos;
}

// The SQLite driver reads a whole result into memory, as text, before the first row is fetched,
// unless told to step through it row by row: a part with 100,000 field rows held 75 MB that way.
bool NamesSqliteDriver(const std::string& value) {
    const std::size_t first = value.find_first_not_of(' ');
    if (first == std::string::npos) {
        return false;
    }
    const std::string name =
        WithoutBraces(value.substr(first, value.find_last_not_of(' ') - first + 1));
    constexpr std::string_view kSqlite = "SQLite";
    return name.size() >= kSqlite.size() &&
           EqualsIgnoringCase(std::string_view(name).substr(0, kSqlite.size()), kSqlite);
}

std::string WithStepwiseReading(std::string connectString) {
    if (!connectString.empty() && connectString.back() == ';') {
        return connectString + "StepAPI=1;";
    }
    return connectString + ";StepAPI=1";
}

std::string WithDbqAsDatabase(const std::string& connectString,
                              const std::vector<ConnectItem>& items) {
    std::string result;
    for (const ConnectItem& item : items) {
        const std::string file = WithoutBraces(item.value);
        if (EqualsIgnoringCase(item.key, "DBQ") && !file.empty()) {
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

}  // namespace

std::string ConnectStringForDriverManager(const std::string& connectString) {
    std::vector<ConnectItem> items = ConnectItems(connectString);
    for (const ConnectItem& item : items) {
        if (EqualsIgnoringCase(item.key, "DRIVER") && NamesNoDriver(item.value)) {
            const std::string shown = RedactPassword(connectString);
            throw DbException("cannot connect to " + shown,
                              {{"IM002", 0, "the connect string names no driver"}}, shown);
        }
    }
    const auto hasKey = [&](std::string_view key) {
        return std::any_of(items.begin(), items.end(), [&](const ConnectItem& item) {
            return EqualsIgnoringCase(item.key, key);
        });
    };
    const bool rewritesDbq = hasKey("DBQ") && !hasKey("Database");
    std::string result = rewritesDbq ? WithDbqAsDatabase(connectString, items) : connectString;
    const bool sqlite = std::any_of(items.begin(), items.end(), [](const ConnectItem& item) {
        return EqualsIgnoringCase(item.key, "DRIVER") && NamesSqliteDriver(item.value);
    });
    if (sqlite && !hasKey("StepAPI")) {
        result = WithStepwiseReading(std::move(result));
    }
    return result;
}

}  // namespace framework
