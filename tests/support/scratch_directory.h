#pragma once

#include <filesystem>

namespace tavrin21::test {

// A new empty folder under the system's temporary folder, removed with everything in it.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // In the generic form (forward slashes), which Windows reads too; under Wine the path may
    // reach a Linux ODBC driver, which reads it as written.
    std::filesystem::path operator/(const std::string& name) const {
        return (path_ / name).generic_string();
    }

  private:
    std::filesystem::path path_;
};

}  // namespace tavrin21::test
