#include "framework/platform/module_version.h"

#include "framework/platform/host_system.h"
#include "tests/support/scratch_directory.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace framework {
namespace {

// Files that are no module, and the real module cut short anywhere or with its note's sizes
// overwritten: the block is read whole or not at all, never from past the file's end.
TEST(ReadModuleVersion, DamagedOrForeignFilesAreReadSafely) {
    if (framework::HostIsWindows()) {
        GTEST_SKIP() << "the test damages the ELF note that carries a shared object's version "
                        "block";
    }
    std::ifstream file(TAVRIN21_MODULE_PATH, std::ios::binary);
    const std::string module{std::istreambuf_iterator<char>(file), {}};
    const std::optional<ModuleVersion> whole = ReadModuleVersion(TAVRIN21_MODULE_PATH);
    ASSERT_TRUE(whole.has_value());
    // The note's header: owner size, descriptor size, type 1, then the owner.
    const std::size_t note = module.find(std::string("\1\0\0\0VERSION\0", 12)) - 8;
    ASSERT_LT(note, module.size());
    const auto oversized = [&](std::size_t field) {
        return std::string(module).replace(note + 4 * field, 4, "\xff\xff\xff\x7f", 4);
    };
    const struct {
        std::string bytes;
        bool mayBeRead;
    } rows[] = {{"not a shared object", false},
                {"", false},
                {"\177ELF", false},
                {module.substr(0, 64), true},
                {module.substr(0, note), true},
                {module.substr(0, note + 20), true},
                {module.substr(0, module.size() - 1), true},
                {oversized(0), false},
                {oversized(1), false}};
    tavrin21::test::ScratchDirectory folder;
    for (std::size_t row = 0; row < std::size(rows); ++row) {
        SCOPED_TRACE(row);
        std::ofstream(folder / "damaged.so", std::ios::binary) << rows[row].bytes;
        const auto read = ReadModuleVersion((folder / "damaged.so").string());
        EXPECT_TRUE(!read || (rows[row].mayBeRead && read->strings == whole->strings));
    }
    EXPECT_FALSE(ReadModuleVersion((folder / "missing.so").string()));
    EXPECT_FALSE(ReadModuleVersion(folder.Path().string()));
}

}  // namespace
}  // namespace framework
