#include "library/file_copy.h"

#include "framework/platform/host_system.h"
#include "framework/platform/local_memory.h"
#include "framework/platform/windows_path.h"
#include "tests/library/test_drives.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kAnyMemory = std::numeric_limits<std::size_t>::max();
const std::string kOld = "an older, longer file that must be cut";
const std::string kCopy = "(the source's bytes)";
const std::string kNoFile = "(no file)";
const char* const kLib = "\\LIB\\t.mdb";
const char* const kTemplate = "\\EMPRJ\\t.mdb";

std::string Contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return fs::exists(path) ? std::string(std::istreambuf_iterator<char>(file), {}) : kNoFile;
}

TEST(FileCopy, CopiesByteForByteOrSaysWhyNot) {
    test::TestDrives drives;
    if (drives.Missing()) {
        GTEST_SKIP() << *drives.Missing();
    }
    // A drive X that holds the device that is always full.
    auto mapping = framework::CurrentPathMapping();
    mapping.driveFolders['X'] = "/dev";
    framework::SetPathMapping(mapping);
    fs::create_directories(drives.Local("\\EMPRJ"));
    fs::create_directories(drives.Local("\\LIB"));
    // Bytes that differ from block to block, so a block written twice or skipped shows.
    std::string source(3 * kCopyBufferBytes + 5, '\0');
    for (std::size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<char>((i * 7 + i / 1024) & 0xFF);
    }
    std::ofstream(drives.Local(kTemplate), std::ios::binary) << source;
    const struct {
        const char* name;
        std::size_t memory;  // largest block the heap gives
        const char *destination, *source;
        int status;
        std::string left;  // in the destination, which held kOld
    } rows[] = {
        {"enough memory", kAnyMemory, kLib, kTemplate, kCopyDone, kCopy},
        {"small buffer", kCopyBufferBytes - 1, kLib, kTemplate, kCopyDone, kCopy},
        {"no buffer", kCopyFallbackBufferBytes - 1, kLib, kTemplate, kCopyNoMemory, kOld},
        {"missing source", kAnyMemory, kLib, "\\EMPRJ\\none.mdb", kCopySourceNotOpened, ""},
        {"a folder is no source", kAnyMemory, kLib, "\\EMPRJ", kCopySourceNotOpened, ""},
        {"no folder", kAnyMemory, "\\NO\\t.mdb", kTemplate, kCopyDestinationNotCreated, kNoFile},
        {"both", kAnyMemory, "\\NO\\t.mdb", "\\EMPRJ\\none.mdb", kCopyDestinationNotCreated,
         kNoFile},
        {"short write", kAnyMemory, "X:\\full", kTemplate, kCopyIncomplete, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.status == kCopyIncomplete &&
            (framework::HostIsWindows() || !fs::exists("/dev/full"))) {
            continue;  // no device that is always full: nothing to fill
        }
        std::ofstream(drives.Local(kLib)) << kOld;
        framework::SetLocalBlockLimit(row.memory);
        EXPECT_EQ(FileCopy(row.destination, row.source), row.status);
        if (row.status != kCopyIncomplete) {
            const std::string left = Contents(drives.Local(row.destination));
            EXPECT_TRUE(left == (row.left == kCopy ? source : row.left))
                << left.size() << " bytes: " << left.substr(0, 40);
        }
    }
    framework::SetLocalBlockLimit(kAnyMemory);
}

}  // namespace
}  // namespace tavrin21
