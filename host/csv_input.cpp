#include "host/csv_input.h"

#include "host/terminal_text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <system_error>

namespace tavrin21::host {

CsvInput::CsvInput(const std::string& path, std::istream* standardInput, const std::string& what)
    : stream_(&file_), name_(path) {
    if (path == "-") {
        stream_ = standardInput != nullptr ? standardInput : &std::cin;
        name_ = "(standard input)";
        return;
    }
    std::error_code unknown;
    if (std::filesystem::is_directory(path, unknown)) {
        throw std::runtime_error("cannot read " + what + " " + Printable(path) +
                                 ": it is a folder");
    }
    errno = 0;
    file_.open(path, std::ios::binary);
    if (!file_) {
        const int reason = errno;
        throw std::runtime_error("cannot open " + what + " " + Printable(path) +
                                 (reason != 0 ? std::string(": ") + std::strerror(reason) : ""));
    }
}

}  // namespace tavrin21::host
