#include "tests/support/scratch_directory.h"

#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace tavrin21::test {

namespace {

// TAVRIN21_SCRATCH_ROOT, else the system's temporary folder. Under Wine the test databases are
// opened by Linux ODBC drivers, which read a path as it is written: there the folder is given
// as a Unix path, which Windows programs under Wine read as a path on the current drive.
std::filesystem::path ScratchRoot() {
    const char* root = std::getenv("TAVRIN21_SCRATCH_ROOT");
    if (root != nullptr && *root != '\0') {
        return root;
    }
    return std::filesystem::temp_directory_path();
}

}  // namespace

ScratchDirectory::ScratchDirectory() {
    // A random name, tried until one is new: create_directory makes it only if it is not there.
    std::random_device random;
    const std::filesystem::path temp = ScratchRoot();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = temp / ("tavrin21-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate.generic_string();
            return;
        }
    }
    throw std::runtime_error("cannot make a scratch directory");
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace tavrin21::test
