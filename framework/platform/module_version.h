#pragma once

// The version block of a module: the numbers and strings that describe its build, carried in
// the module's file so that they can be read without loading it. A Windows module keeps them as
// its version resource; a shared object keeps the same fields in an ELF note, which a module
// embeds with FRAMEWORK_MODULE_VERSION.

#include "framework/platform/export.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace framework {

struct ModuleVersion {
    std::array<std::uint16_t, 4> fileVersion{};
    std::array<std::uint16_t, 4> productVersion{};
    // The string table: "FileDescription", "FileVersion", "ProductName" and so on.
    std::map<std::string, std::string> strings;
};

// The version block of the module file at `path`; nothing when the file cannot be read, is not
// a shared object of this platform, or carries no version block.
FRAMEWORK_API std::optional<ModuleVersion> ReadModuleVersion(const std::string& path);

namespace platform {

// The note's owner name and type, and its layout: the owner padded to four bytes, then the
// descriptor: both versions, then key and value strings, each ended by a NUL.
inline constexpr char kVersionNoteOwner[8] = "VERSION";
inline constexpr std::uint32_t kVersionNoteType = 1;

template <std::size_t StringBytes>
struct VersionNote {
    std::uint32_t ownerBytes;
    std::uint32_t descriptorBytes;
    std::uint32_t type;
    char owner[8];
    std::uint16_t fileVersion[4];
    std::uint16_t productVersion[4];
    char strings[StringBytes];
};

}  // namespace platform
}  // namespace framework

// One entry of the string table: FRAMEWORK_VERSION_STRING("ProductName", "x") ...
#define FRAMEWORK_VERSION_STRING(key, value) key "\0" value "\0"

// Embeds the version block in the module being built; use once, at namespace scope. The
// versions are four numbers each, given as one macro that expands to them; `strings` is a
// sequence of FRAMEWORK_VERSION_STRING.
#define FRAMEWORK_MODULE_VERSION(fileVersionNumbers, productVersionNumbers, strings)     \
    [[gnu::section(".note.module-version"), gnu::used,                                   \
      gnu::aligned(4)]] const ::framework::platform::VersionNote<sizeof(strings)>        \
        frameworkModuleVersionNote = {                                                   \
            sizeof(::framework::platform::kVersionNoteOwner),                            \
            static_cast<std::uint32_t>(2 * 4 * sizeof(std::uint16_t) + sizeof(strings)), \
            ::framework::platform::kVersionNoteType,                                     \
            "VERSION",                                                                   \
            {fileVersionNumbers},                                                        \
            {productVersionNumbers},                                                     \
            strings}
