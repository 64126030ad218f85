#include "framework/platform/windows_path.h"

#include <cctype>
#include <utility>

namespace framework {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// Appends the folders and file of `rest` to `base`, one by one, dropping empty names.
std::filesystem::path Below(std::filesystem::path base, std::string_view rest) {
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end])) {
            ++end;
        }
        if (end > start) {
            base /= std::string(rest.substr(start, end - start));
        }
        start = end + 1;
    }
    return base;
}

}  // namespace

std::filesystem::path HostPath(std::string_view windowsPath) {
    if (windowsPath.empty()) {
        return {};
    }
    const PathMapping mapping = CurrentPathMapping();
    if (HasDriveLetter(windowsPath)) {
        const char letter =
            static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
        const auto configured = mapping.driveFolders.find(letter);
        std::filesystem::path folder = configured != mapping.driveFolders.end()
                                           ? configured->second
                                           : mapping.currentDriveRoot / std::string(1, letter);
        return Below(std::move(folder), windowsPath.substr(2));
    }
    if (IsSeparator(windowsPath.front())) {
        return Below(mapping.currentDriveRoot, windowsPath);
    }
    return Below(std::filesystem::path(), windowsPath);
}

}  // namespace framework
