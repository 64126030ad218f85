#pragma once

// Reading comma-separated records (RFC 4180: quoted fields, doubled quotes, line breaks inside
// quotes, CRLF or LF), each with the line on which it starts. A UTF-8 byte-order mark at the
// start, as spreadsheet programs write it, is skipped.

#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavrin21::host {

struct CsvRecord {
    int line = 0;  // 1-based line of the record's first character
    std::vector<std::string> fields;
};

class CsvError : public std::runtime_error {
  public:
    CsvError(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
    int Line() const { return line_; }

  private:
    int line_;
};

class CsvReader {
  public:
    explicit CsvReader(std::istream& input) : input_(input) {}

    // The next record, or nothing at the end of the input. Blank lines are skipped. Throws
    // CsvError, after which the reader has moved past the bad record and can go on, for text
    // after a closing quote, a carriage return that does not end a line, and a quote left open
    // at the end of the input (reported at the line where it opened; when the input can be
    // sought, reading goes on at the next line, so the rows after it are not lost).
    std::optional<CsvRecord> Next();

  private:
    bool Get(char& c);
    bool Peek(char& c);
    void SkipByteOrderMark();
    [[noreturn]] void SkipLineAndThrow(int line, const char* what);
    [[noreturn]] void ResumeAfterOpenQuote(int line, std::streampos afterQuote);

    std::istream& input_;
    int line_ = 1;
    bool started_ = false;
};

// What to tell of a header that did not fit, when it is one field holding semicolons (a
// spreadsheet set to a decimal comma saves its "CSV" so): that fields are separated by commas.
// Empty otherwise.
std::string SemicolonHint(const std::vector<std::string>& header);

// One field as it must be written: quoted when it holds a comma, quote or line break.
std::string CsvField(const std::string& text);

}  // namespace tavrin21::host
