#include "host/item_input.h"

#include "host/csv_reader.h"
#include "host/field_text.h"
#include "tavrin21/environment_codes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace tavrin21::host {

namespace {

std::variant<std::uint8_t, std::string> ParseByte(const std::string& name,
                                                  const std::string& text) {
    const auto value = WholeNumber(text);
    if (!value || *value < 0 || *value > 255) {
        return name + " " + Quoted(text) + " is not a whole number from 0 to 255";
    }
    return static_cast<std::uint8_t>(*value);
}

std::variant<std::uint8_t, std::string> ParseEnvironment(const std::string& text) {
    if (const auto code = WholeNumber(text)) {
        if (*code >= 1 && *code <= kEnvironmentCount) {
            return static_cast<std::uint8_t>(*code);
        }
        return "environment code " + Quoted(text) + " is not between 1 and 27";
    }
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (const auto code = EnvironmentCodeOf(upper)) {
        return *code;
    }
    return "environment " + Quoted(text) + " is neither 1 to 27 nor a code such as GB or AIC";
}

std::variant<float, std::string> ParseTemperature(const std::string& text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || text.empty()) {
        return "temperature " + Quoted(text) + " is not a number";
    }
    const auto single = static_cast<float>(value);
    if (!std::isfinite(single)) {
        return "temperature " + Quoted(text) + " is not a finite single-precision number";
    }
    return single;
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::size_t ColumnOf(const std::vector<std::string>& header, const std::string& name) {
    const auto matches = [&](const std::string& column) { return SameName(column, name); };
    const auto found = std::find_if(header.begin(), header.end(), matches);
    if (found == header.end()) {
        throw std::runtime_error("the header has no column " + name + SemicolonHint(header));
    }
    if (std::count_if(header.begin(), header.end(), matches) > 1) {
        throw std::runtime_error("the header names column " + name + " twice");
    }
    return static_cast<std::size_t>(found - header.begin());
}

// Stores a parsed value into `target`, or gives the reason it could not be parsed.
template <typename T>
std::optional<std::string> Take(std::variant<T, std::string> parsed, T& target) {
    if (auto* reason = std::get_if<std::string>(&parsed)) {
        return std::move(*reason);
    }
    target = std::get<T>(parsed);
    return std::nullopt;
}

}  // namespace

ItemColumns::ItemColumns(const std::vector<std::string>& rawHeader) {
    std::vector<std::string> header;
    std::transform(rawHeader.begin(), rawHeader.end(), std::back_inserter(header), Trimmed);
    for (const std::string& name : header) {
        const bool known = std::any_of(std::begin(kItemColumnNames), std::end(kItemColumnNames),
                                       [&](const char* item) { return SameName(name, item); });
        if (!known) {
            ignored_.push_back(name);
        }
    }
    partNumber_ = ColumnOf(header, "PartNumber");
    environmentCode_ = ColumnOf(header, "EnvironmentCode");
    temperature_ = ColumnOf(header, "Temperature");
    methodCode_ = ColumnOf(header, "MethodCode");
    mode_ = ColumnOf(header, "Mode");
    count_ = header.size();
}

std::variant<ItemInput, std::string> ItemColumns::Parse(const std::vector<std::string>& row) const {
    if (row.size() != count_) {
        return "expected " + std::to_string(count_) + " fields, found " +
               std::to_string(row.size());
    }
    ItemInput item;
    item.partNumber = row[partNumber_];
    if (item.partNumber.size() > kPartNumberMaxLength) {
        return "part number " + Quoted(item.partNumber) + " is longer than 62 characters";
    }
    if (item.partNumber.find('\0') != std::string::npos) {
        return "part number holds a NUL character";
    }

    if (auto reason =
            Take(ParseEnvironment(Trimmed(row[environmentCode_])), item.environmentCode)) {
        return *reason;
    }
    if (auto reason = Take(ParseTemperature(Trimmed(row[temperature_])), item.temperature)) {
        return *reason;
    }
    if (auto reason = Take(ParseByte("method code", Trimmed(row[methodCode_])), item.methodCode)) {
        return *reason;
    }
    if (auto reason = Take(ParseByte("mode", Trimmed(row[mode_])), item.mode)) {
        return *reason;
    }
    return item;
}

const char* MethodName(const ItemInput& item) {
    if (item.mode == kFieldDataMode) {
        return "field data";
    }
    // The table method's variant is MethodCode - 100 for 100 to 199, else 0.
    const int variant =
        item.methodCode >= 100 && item.methodCode <= 199 ? item.methodCode - 100 : 0;
    return variant <= 1 ? "logarithmic" : "straight line";
}

std::variant<std::uint8_t, std::string> EnvironmentFromText(const std::string& text) {
    return ParseEnvironment(Trimmed(text));
}

ItemRecord MakeItemRecord(const ItemInput& item) {
    ItemRecord record;
    std::memset(&record, 0, sizeof record);
    record.EnvironmentCode = item.environmentCode;
    record.MethodCode = item.methodCode;
    record.Temperature = item.temperature;
    std::memcpy(record.PartNumber, item.partNumber.data(),
                std::min(item.partNumber.size(), kPartNumberMaxLength));
    return record;
}

}  // namespace tavrin21::host
