#pragma once

// Where the library-file tests' Windows paths ("\LIB\zova.mdb", "D:\PROJ\x.mdb") lie, emptied
// for each test. Off Windows: two folders of a scratch directory, installed as the path mapping.
// On Windows, as under Wine with scripts/wine-test.sh: the drives R: and D:, which the runner maps
// onto the folders "drive-r" and "drive-d" below TAVRIN21_SCRATCH_ROOT, with R: made the current
// drive for the test's time.

#include "framework/platform/windows_path.h"
#include "tests/support/scratch_directory.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin21::test {

class TestDrives {
  public:
    TestDrives();
    ~TestDrives();
    TestDrives(const TestDrives&) = delete;
    TestDrives& operator=(const TestDrives&) = delete;

    // Why the drives are not there (for GTEST_SKIP), or nothing.
    const std::optional<std::string>& Missing() const { return missing_; }

    // Where the test itself reaches `windowsPath`.
    std::filesystem::path Local(std::string_view windowsPath) const;
    // The path the ODBC driver reads for `windowsPath`: under Wine a Linux driver, which reads
    // Unix paths.
    std::string ForDriver(std::string_view windowsPath) const;
    // On Windows the Access-style connect string reaches the stand-in driver as composed, and it
    // reads not DBQ but the file of the data source the string names (DSN=''): that data source
    // is pointed at `windowsPath`. Off Windows, DBQ is rewritten and this does nothing.
    void PointDataSourceAt(std::string_view windowsPath) const;

  private:
    std::optional<std::string> missing_;
    std::filesystem::path unixRoot_;    // Windows: the Unix folder below which the drives lie
    std::filesystem::path driverList_;  // Windows: the folder of odbc.ini, reached from here
    std::filesystem::path previousFolder_;
    std::optional<ScratchDirectory> scratch_;  // off Windows
    framework::PathMapping previousMapping_;
};

}  // namespace tavrin21::test
