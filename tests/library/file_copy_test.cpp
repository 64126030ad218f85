#include "library/file_copy.h"

#include "framework/platform/local_memory.h"
#include "framework/platform/windows_path.h"
#include "tests/support/scratch_directory.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Bytes that differ from block to block, so a block written twice or skipped shows.
std::string Pattern(std::size_t bytes) {
    std::string text(bytes, '\0');
    for (std::size_t i = 0; i < bytes; ++i) {
        text[i] = static_cast<char>((i * 7 + i / 1024) & 0xFF);
    }
    return text;
}

class FileCopyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousMapping_ = framework::SetPathMapping({folder_.Path(), {}});
        fs::create_directories(folder_ / "EMPRJ");
        fs::create_directories(folder_ / "LIB");
    }
    void TearDown() override {
        framework::SetPathMapping(previousMapping_);
        framework::SetLocalBlockLimit(std::numeric_limits<std::size_t>::max());
    }

    void WriteSource(const std::string& bytes) {
        std::ofstream(folder_ / "EMPRJ" / "t.mdb", std::ios::binary) << bytes;
    }

    test::ScratchDirectory folder_;

  private:
    framework::PathMapping previousMapping_;
};

TEST_F(FileCopyTest, CopiesByteForByteWhateverTheBufferSize) {
    const struct {
        const char* name;
        std::size_t limit;
        std::size_t bytes;
    } rows[] = {
        {"empty", std::numeric_limits<std::size_t>::max(), 0},
        {"one byte", std::numeric_limits<std::size_t>::max(), 1},
        {"exactly one buffer", std::numeric_limits<std::size_t>::max(), kCopyBufferBytes},
        {"buffers and a bit", std::numeric_limits<std::size_t>::max(), 3 * kCopyBufferBytes + 5},
        {"small buffer when memory is short", kCopyBufferBytes - 1,
         5 * kCopyFallbackBufferBytes + 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        framework::SetLocalBlockLimit(row.limit);
        const std::string bytes = Pattern(row.bytes);
        WriteSource(bytes);
        std::ofstream(folder_ / "LIB" / "t.mdb") << "an older, longer file that must be cut";

        EXPECT_EQ(FileCopy("\\LIB\\t.mdb", "\\EMPRJ\\t.mdb"), kCopyDone);
        EXPECT_EQ(Contents(folder_ / "LIB" / "t.mdb"), bytes);
    }
}

TEST_F(FileCopyTest, NoMemoryForEitherBufferTouchesNoFile) {
    framework::SetLocalBlockLimit(kCopyFallbackBufferBytes - 1);
    WriteSource("template");
    EXPECT_EQ(FileCopy("\\LIB\\t.mdb", "\\EMPRJ\\t.mdb"), kCopyNoMemory);
    EXPECT_FALSE(fs::exists(folder_ / "LIB" / "t.mdb"));
}

TEST_F(FileCopyTest, StatusesWhenFilesCannotBeOpened) {
    WriteSource("template");
    const struct {
        const char* name;
        const char* destination;
        const char* source;
        int status;
        bool emptyDestinationLeft;
    } rows[] = {
        {"missing source", "\\LIB\\a.mdb", "\\EMPRJ\\missing.mdb", kCopySourceNotOpened, true},
        {"a folder is no source", "\\LIB\\b.mdb", "\\EMPRJ", kCopySourceNotOpened, true},
        {"destination folder missing", "\\NOLIB\\c.mdb", "\\EMPRJ\\t.mdb",
         kCopyDestinationNotCreated, false},
        {"both", "\\NOLIB\\d.mdb", "\\EMPRJ\\missing.mdb", kCopyDestinationNotCreated, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FileCopy(row.destination, row.source), row.status);
        const fs::path destination = framework::HostPath(row.destination);
        EXPECT_EQ(fs::exists(destination), row.emptyDestinationLeft);
        if (row.emptyDestinationLeft) {
            EXPECT_EQ(fs::file_size(destination), 0u);
        }
    }
}

TEST_F(FileCopyTest, ShortWriteIsIncomplete) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full to fill";
    }
    WriteSource("template");
    framework::SetPathMapping({folder_.Path(), {{'X', "/dev"}}});
    EXPECT_EQ(FileCopy("X:\\full", "\\EMPRJ\\t.mdb"), kCopyIncomplete);
}

}  // namespace
}  // namespace tavrin21
