#include "framework/platform/module_version.h"

#include <cstring>
#include <string_view>
#include <windows.h>

namespace framework {

namespace {

// One node of a version resource: a header of three 16-bit words (the node's length, its
// value's length, 1 for a text value), the key in UTF-16 ended by a NUL, the value and the
// children, each starting on a 4-byte boundary.
struct VersionNode {
    std::wstring_view key;
    std::string_view value;  // the value's bytes
    std::string_view children;
    bool isText = false;
};

constexpr std::size_t RoundUpToFour(std::size_t n) {
    return (n + 3) & ~std::size_t{3};
}

std::uint16_t WordAt(std::string_view bytes, std::size_t offset) {
    std::uint16_t word;
    std::memcpy(&word, bytes.data() + offset, sizeof word);
    return word;
}

// The node at the start of `bytes`, and how many bytes it takes (with its padding); nothing
// when it does not lie wholly inside `bytes`.
std::optional<std::pair<VersionNode, std::size_t>> ReadNode(std::string_view bytes) {
    constexpr std::size_t kHeaderBytes = 3 * sizeof(std::uint16_t);
    if (bytes.size() < kHeaderBytes) {
        return std::nullopt;
    }
    const std::size_t length = WordAt(bytes, 0);
    if (length < kHeaderBytes || length > bytes.size()) {
        return std::nullopt;
    }
    VersionNode node;
    node.isText = WordAt(bytes, 4) == 1;
    std::size_t at = kHeaderBytes;
    while (at + 1 < length && WordAt(bytes, at) != 0) {
        at += 2;
    }
    if (at + 1 >= length) {
        return std::nullopt;
    }
    node.key = std::wstring_view(reinterpret_cast<const wchar_t*>(bytes.data() + kHeaderBytes),
                                 (at - kHeaderBytes) / 2);
    at = std::min(RoundUpToFour(at + 2), length);
    const std::size_t valueBytes = WordAt(bytes, 2) * (node.isText ? 2u : 1u);
    if (valueBytes > length - at) {
        return std::nullopt;
    }
    node.value = bytes.substr(at, valueBytes);
    at = std::min(RoundUpToFour(at + valueBytes), length);
    node.children = bytes.substr(at, length - at);
    return std::make_pair(node, std::min(RoundUpToFour(length), bytes.size()));
}

// Calls `visit` for each node of `bytes`, a sequence of sibling nodes; false when one is damaged.
template <typename Visit>
bool ForEachNode(std::string_view bytes, Visit visit) {
    while (!bytes.empty()) {
        const auto node = ReadNode(bytes);
        if (!node) {
            return false;
        }
        if (!visit(node->first)) {
            return false;
        }
        bytes.remove_prefix(node->second);
    }
    return true;
}

std::string Narrow(std::wstring_view text) {
    while (!text.empty() && text.back() == L'\0') {
        text.remove_suffix(1);
    }
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

std::wstring_view TextOf(const VersionNode& node) {
    return {reinterpret_cast<const wchar_t*>(node.value.data()), node.value.size() / 2};
}

std::array<std::uint16_t, 4> VersionNumbers(DWORD mostSignificant, DWORD leastSignificant) {
    return {HIWORD(mostSignificant), LOWORD(mostSignificant), HIWORD(leastSignificant),
            LOWORD(leastSignificant)};
}

std::optional<ModuleVersion> ParseVersionResource(std::string_view bytes) {
    const auto root = ReadNode(bytes);
    if (!root || root->first.key != L"VS_VERSION_INFO" ||
        root->first.value.size() < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, root->first.value.data(), sizeof fixed);
    if (fixed.dwSignature != 0xFEEF04BD) {
        return std::nullopt;
    }
    ModuleVersion version;
    version.fileVersion = VersionNumbers(fixed.dwFileVersionMS, fixed.dwFileVersionLS);
    version.productVersion = VersionNumbers(fixed.dwProductVersionMS, fixed.dwProductVersionLS);
    const auto addString = [&](const VersionNode& entry) {
        version.strings.emplace(Narrow(entry.key), Narrow(TextOf(entry)));
        return true;
    };
    const auto readTable = [&](const VersionNode& table) {
        return ForEachNode(table.children, addString);
    };
    const bool whole = ForEachNode(root->first.children, [&](const VersionNode& block) {
        return block.key != L"StringFileInfo" || ForEachNode(block.children, readTable);
    });
    if (!whole) {
        return std::nullopt;
    }
    return version;
}

}  // namespace

std::optional<ModuleVersion> ReadModuleVersion(const std::string& path) {
    // As a data file: the module's code is neither mapped for running nor started.
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        return std::nullopt;
    }
    std::optional<ModuleVersion> version;
    if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION)) {
        const HGLOBAL loaded = LoadResource(module, found);
        const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
        if (data != nullptr) {
            version = ParseVersionResource(
                std::string_view(static_cast<const char*>(data), SizeofResource(module, found)));
        }
    }
    FreeLibrary(module);
    return version;
}

}  // namespace framework
