#include "host/csv_reader.h"

namespace tavrin21::host {

bool CsvReader::Get(char& c) {
    if (!input_.get(c)) {
        return false;
    }
    if (c == '\n') {
        ++line_;
    }
    return true;
}

bool CsvReader::Peek(char& c) {
    const int next = input_.peek();
    if (next == std::char_traits<char>::eof()) {
        return false;
    }
    c = static_cast<char>(next);
    return true;
}

namespace {

void SkipToEndOfLine(std::istream& input) {
    std::string rest;
    std::getline(input, rest);
}

}  // namespace

std::optional<CsvRecord> CsvReader::Next() {
    char c = 0;
    // Blank lines between records carry nothing.
    while (Peek(c) && (c == '\n' || c == '\r')) {
        Get(c);
    }
    if (!Peek(c)) {
        return std::nullopt;
    }

    CsvRecord record;
    record.line = line_;
    std::string field;
    bool quoted = false;
    bool afterClosingQuote = false;
    while (Get(c)) {
        if (quoted) {
            if (c != '"') {
                field += c;
                continue;
            }
            char next = 0;
            if (Peek(next) && next == '"') {
                Get(next);
                field += '"';
                continue;
            }
            quoted = false;
            afterClosingQuote = true;
            continue;
        }
        if (c == ',') {
            record.fields.push_back(std::move(field));
            field.clear();
            afterClosingQuote = false;
            continue;
        }
        if (c == '\r') {
            continue;
        }
        if (c == '\n') {
            record.fields.push_back(std::move(field));
            return record;
        }
        if (afterClosingQuote) {
            const int badLine = line_;
            SkipToEndOfLine(input_);
            ++line_;
            throw CsvError(badLine, "text after a closing quote");
        }
        if (c == '"' && field.empty()) {
            quoted = true;
            continue;
        }
        field += c;
    }
    if (quoted) {
        throw CsvError(record.line, "a quoted field is not closed before the end of the file");
    }
    record.fields.push_back(std::move(field));
    return record;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

}  // namespace tavrin21::host
