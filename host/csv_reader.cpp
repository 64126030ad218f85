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

void CsvReader::SkipByteOrderMark() {
    static constexpr char kBom[] = "\xEF\xBB\xBF";
    for (const char expected : std::string_view(kBom)) {
        char c = 0;
        if (!Peek(c) || c != expected) {
            return;  // only the first bytes can have been taken, and only if they were the mark's
        }
        Get(c);
    }
}

void CsvReader::SkipLineAndThrow(int line, const char* what) {
    char c = 0;
    while (Get(c) && c != '\n') {
    }
    throw CsvError(line, what);
}

void CsvReader::ResumeAfterOpenQuote(int line, std::streampos afterQuote) {
    const char* what =
        "a quoted field opened on this line is not closed before the end of the file";
    input_.clear();
    if (afterQuote == std::streampos(-1) || !input_.seekg(afterQuote)) {
        input_.setstate(std::ios::eofbit);
        throw CsvError(line, what);
    }
    line_ = line;
    SkipLineAndThrow(line, what);
}

std::optional<CsvRecord> CsvReader::Next() {
    char c = 0;
    if (!started_) {
        started_ = true;
        SkipByteOrderMark();
    }
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
    int quoteLine = 0;
    std::streampos afterQuote = -1;
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
            char next = 0;
            if (Peek(next) && next == '\n') {
                continue;
            }
            SkipLineAndThrow(line_,
                             "a carriage return inside a field (a line must end with LF or CRLF)");
        }
        if (c == '\n') {
            record.fields.push_back(std::move(field));
            return record;
        }
        if (afterClosingQuote) {
            SkipLineAndThrow(line_, "text after a closing quote");
        }
        if (c == '"' && field.empty()) {
            quoted = true;
            quoteLine = line_;
            afterQuote = input_.tellg();
            continue;
        }
        field += c;
    }
    if (quoted) {
        ResumeAfterOpenQuote(quoteLine, afterQuote);
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

std::string SemicolonHint(const std::vector<std::string>& header) {
    return header.size() == 1 && header.front().find(';') != std::string::npos
               ? " (fields are separated by commas, and this header has semicolons)"
               : "";
}

}  // namespace tavrin21::host
