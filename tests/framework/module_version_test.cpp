#include "framework/platform/module_version.h"

#include "tests/support/scratch_directory.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace framework {
namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ReadModuleVersion, NothingForFilesWithoutAVersionBlock) {
    tavrin21::test::ScratchDirectory folder;
    WriteBytes(folder / "text.so", "not a shared object at all");
    WriteBytes(folder / "empty.so", "");
    WriteBytes(folder / "magic-only.so",
               "\x7f"
               "ELF");

    const std::string rows[] = {
        (folder / "missing.so").string(), (folder / "text.so").string(),
        (folder / "empty.so").string(),   (folder / "magic-only.so").string(),
        folder.Path().string(),
    };
    for (const std::string& path : rows) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(ReadModuleVersion(path).has_value());
    }
}

// A module cut short anywhere, or with its note's sizes overwritten, is read without reading
// past its end: either the block is found whole or nothing is.
TEST(ReadModuleVersion, DamagedModulesAreReadSafely) {
    const std::string module = ReadBytes(TAVRIN21_MODULE_PATH);
    ASSERT_GT(module.size(), 4096u);
    // The note's header: owner size, descriptor size, type 1, then the owner.
    const std::size_t typeAndOwner = module.find(std::string("\1\0\0\0VERSION\0", 12));
    ASSERT_NE(typeAndOwner, std::string::npos);
    const std::size_t note = typeAndOwner - 8;

    tavrin21::test::ScratchDirectory folder;
    const std::filesystem::path damaged = folder / "damaged.so";
    for (std::size_t length : {std::size_t{16}, std::size_t{64}, note, note + 20, module.size() / 2,
                               module.size() - 1}) {
        SCOPED_TRACE(length);
        WriteBytes(damaged, module.substr(0, length));
        ReadModuleVersion(damaged.string());
    }
    for (std::size_t field = 0; field < 2; ++field) {
        SCOPED_TRACE(field);
        std::string bytes = module;
        bytes.replace(note + 4 * field, 4, "\xff\xff\xff\x7f", 4);
        WriteBytes(damaged, bytes);
        EXPECT_FALSE(ReadModuleVersion(damaged.string()).has_value());
    }
}

}  // namespace
}  // namespace framework
