#include "library/library_location.h"

#include <cctype>
#include <stdexcept>

namespace tavrin21 {

namespace {

void AppendParts(std::string& path,
                 const std::string& first,
                 const std::string& second,
                 const std::string& third) {
    for (const std::string* part : {&first, &second, &third}) {
        if (!part->empty()) {
            path += '\\';
            path += *part;
        }
    }
    if (path.size() > kMaxPathLength) {
        throw std::length_error("the path " + path + " is longer than " +
                                std::to_string(kMaxPathLength) + " characters");
    }
}

}  // namespace

std::string JoinPath(const std::string& first,
                     const std::string& second,
                     const std::string& third) {
    std::string path;
    AppendParts(path, first, second, third);
    return path;
}

std::string JoinDrivePath(std::uint8_t driveIndex,
                          const std::string& first,
                          const std::string& second,
                          const std::string& third) {
    const auto letter = static_cast<char>(static_cast<std::uint8_t>('A' + driveIndex));
    std::string path;
    if (letter != '\0') {
        path += letter;
        path += ":\\";
    }
    AppendParts(path, first, second, third);
    return path;
}

std::uint8_t DriveIndex(const std::string& drive) {
    const auto letter = static_cast<unsigned char>(drive.empty() ? '\0' : drive.front());
    return static_cast<std::uint8_t>(std::toupper(letter) - 'A');
}

}  // namespace tavrin21
