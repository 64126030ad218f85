#include "tests/support/scratch_directory.h"

#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace tavrin21::test {

ScratchDirectory::ScratchDirectory() {
    // A random name, tried until one is new: create_directory makes it only if it is not there.
    std::random_device random;
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = temp / ("tavrin21-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = std::move(candidate);
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
