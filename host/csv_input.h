#pragma once

// A CSV file named on the command line, or standard input where the name is "-".

#include <fstream>
#include <iosfwd>
#include <string>

namespace tavrin21::host {

class CsvInput {
  public:
    // Opens the file at `path`, or takes `standardInput` (std::cin when none) for "-". `what`
    // names the file in messages ("the items file"). Throws std::runtime_error "cannot read WHAT
    // PATH: it is a folder" or "cannot open WHAT PATH: REASON".
    CsvInput(const std::string& path, std::istream* standardInput, const std::string& what);
    CsvInput(const CsvInput&) = delete;
    CsvInput& operator=(const CsvInput&) = delete;

    std::istream& Stream() { return *stream_; }
    // As messages show it: the path, or "(standard input)".
    const std::string& Name() const { return name_; }
    bool IsStandardInput() const { return stream_ != &file_; }

  private:
    std::ifstream file_;
    std::istream* stream_;
    std::string name_;
};

}  // namespace tavrin21::host
