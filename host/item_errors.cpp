#include "host/item_errors.h"

#include "framework/connect_items.h"
#include "framework/db_exception.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace tavrin21::host {

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream input(text);
    for (std::string line; std::getline(input, line);) {
        lines.push_back(line);
    }
    return lines;
}

// "HY000 (26) ", as the framework writes each diagnostic record; "-----" when there is no SQLSTATE.
bool StartsWithSqlState(const std::string& line) {
    if (line.size() < 9 || line[5] != ' ' || line[6] != '(') {
        return false;
    }
    const bool stateChars = std::all_of(line.begin(), line.begin() + 5, [](char c) {
        return std::isupper(static_cast<unsigned char>(c)) ||
               std::isdigit(static_cast<unsigned char>(c)) || c == '-';
    });
    return stateChars && line.find(") ", 7) != std::string::npos;
}

// The driver's message without the tags of the layers it passed ("[unixODBC][SQLite]"), the
// native code some drivers repeat at its end (" (26)") and the ';' psqlODBC ends lines with.
std::string TidiedDriverText(std::string text) {
    while (!text.empty() && text.front() == '[' && text.find(']') != std::string::npos) {
        text.erase(0, text.find(']') + 1);
    }
    const std::size_t open = text.rfind(" (");
    if (open != std::string::npos && text.back() == ')' &&
        std::all_of(text.begin() + open + 2, text.end() - 1, [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) || c == '-';
        })) {
        text.erase(open);
    }
    while (!text.empty() && (text.back() == ';' || text.back() == ' ' || text.back() == '\r')) {
        text.pop_back();
    }
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

ItemError ParseMessageBox(const std::string& text) {
    const std::vector<std::string> lines = Lines(framework::RedactPassword(text));
    for (const std::string& line : lines) {
        if (!StartsWithSqlState(line)) {
            continue;
        }
        ItemError error;
        error.sqlState = line.substr(0, 5) == "-----" ? "" : line.substr(0, 5);
        const std::string driverText = TidiedDriverText(line.substr(line.find(") ", 7) + 2));
        error.reason =
            "database error: " + (error.sqlState.empty() ? "" : error.sqlState + " ") + driverText;
        return error;
    }
    ItemError error;
    if (lines.size() >= 2) {
        error.reason = "library error: " + lines[1];
    } else {
        error.reason = "library error: " + (lines.empty() ? std::string("(no text)") : lines[0]);
    }
    return error;
}

void ItemErrors::Add(const std::string& messageBoxText) {
    ItemError error = ParseMessageBox(messageBoxText);
    const bool seen = std::any_of(errors_.begin(), errors_.end(),
                                  [&](const ItemError& e) { return e.reason == error.reason; });
    if (!seen) {
        errors_.push_back(std::move(error));
    }
}

bool ItemErrors::ConnectionLost() const {
    return std::any_of(errors_.begin(), errors_.end(), [](const ItemError& e) {
        return framework::IsConnectionLostState(e.sqlState);
    });
}

}  // namespace tavrin21::host
