#include "framework/platform/module_version.h"

#include <cstring>
#include <elf.h>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <link.h>
#include <string_view>
#include <vector>

namespace framework {

namespace {

using Bytes = std::vector<char>;

std::optional<Bytes> ReadWholeFile(const std::string& path) {
    // A folder opens as a stream on this platform and only fails, by throwing, when read.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    try {
        return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A copy of the `T` at `offset`, or nothing when it does not lie wholly inside `bytes`.
template <typename T>
std::optional<T> ReadAt(const Bytes& bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) {
        return std::nullopt;
    }
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

constexpr unsigned char kNativeClass = __ELF_NATIVE_CLASS == 64 ? ELFCLASS64 : ELFCLASS32;

constexpr std::size_t RoundUpToFour(std::size_t n) {
    return (n + 3) & ~std::size_t{3};
}

std::optional<ModuleVersion> ParseDescriptor(std::string_view descriptor) {
    constexpr std::size_t kNumbersBytes = 2 * 4 * sizeof(std::uint16_t);
    if (descriptor.size() < kNumbersBytes) {
        return std::nullopt;
    }
    ModuleVersion version;
    std::memcpy(version.fileVersion.data(), descriptor.data(), sizeof version.fileVersion);
    std::memcpy(version.productVersion.data(), descriptor.data() + sizeof version.fileVersion,
                sizeof version.productVersion);
    descriptor.remove_prefix(kNumbersBytes);

    // Key, value, key, value..., each NUL-ended; an empty key or the end of the note ends it.
    auto nextString = [&]() -> std::optional<std::string> {
        const std::size_t end = descriptor.find('\0');
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        std::string text(descriptor.substr(0, end));
        descriptor.remove_prefix(end + 1);
        return text;
    };
    for (;;) {
        std::optional<std::string> key = nextString();
        if (!key || key->empty()) {
            break;
        }
        std::optional<std::string> value = nextString();
        if (!value) {
            return std::nullopt;
        }
        version.strings.emplace(std::move(*key), std::move(*value));
    }
    return version;
}

// The version note among the notes of the section at [offset, offset + size).
std::optional<ModuleVersion> FindInNotes(const Bytes& bytes, std::size_t offset, std::size_t size) {
    if (offset > bytes.size() || bytes.size() - offset < size) {
        return std::nullopt;
    }
    const std::size_t end = offset + size;
    while (offset <= end && end - offset >= sizeof(ElfW(Nhdr))) {
        const ElfW(Nhdr) header = *ReadAt<ElfW(Nhdr)>(bytes, offset);
        const std::size_t ownerAt = offset + sizeof header;
        const std::size_t descriptorAt = ownerAt + RoundUpToFour(header.n_namesz);
        if (descriptorAt > end || end - descriptorAt < header.n_descsz) {
            return std::nullopt;
        }
        const std::string_view owner(bytes.data() + ownerAt, header.n_namesz);
        const std::string_view expectedOwner(platform::kVersionNoteOwner,
                                             sizeof platform::kVersionNoteOwner);
        if (header.n_type == platform::kVersionNoteType && owner == expectedOwner) {
            return ParseDescriptor(std::string_view(bytes.data() + descriptorAt, header.n_descsz));
        }
        offset = descriptorAt + RoundUpToFour(header.n_descsz);
    }
    return std::nullopt;
}

}  // namespace

std::optional<ModuleVersion> ReadModuleVersion(const std::string& path) {
    const std::optional<Bytes> bytes = ReadWholeFile(path);
    if (!bytes) {
        return std::nullopt;
    }
    const std::optional<ElfW(Ehdr)> header = ReadAt<ElfW(Ehdr)>(*bytes, 0);
    if (!header || std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 ||
        header->e_ident[EI_CLASS] != kNativeClass || header->e_shentsize != sizeof(ElfW(Shdr))) {
        return std::nullopt;
    }
    for (std::size_t index = 0; index < header->e_shnum; ++index) {
        const std::optional<ElfW(Shdr)> section =
            ReadAt<ElfW(Shdr)>(*bytes, header->e_shoff + index * sizeof(ElfW(Shdr)));
        if (!section) {
            return std::nullopt;
        }
        if (section->sh_type != SHT_NOTE) {
            continue;
        }
        if (auto version = FindInNotes(*bytes, section->sh_offset, section->sh_size)) {
            return version;
        }
    }
    return std::nullopt;
}

}  // namespace framework
