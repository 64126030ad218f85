#pragma once

// A file written whole or not at all: what is written goes under a temporary name beside the
// file and takes its place only on Commit, so that a failed run leaves the file as it was (an
// interrupt removes the temporary file too). A name that is a symbolic link has the file it
// points to replaced, and stays a link. A name that is not a regular file (a device, a FIFO,
// /dev/stdout leading to a pipe) is written to directly: nothing may be put in its place. Nor
// may anything replace or cut the file that standard output or error is open on (/dev/stdout
// redirected to a file): it is appended to.

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace tavrin21::host {

// The file a name stands for: the end of its chain of links (which need not exist yet), or the
// name itself. A chain longer than the system follows is left to fail when opened.
std::filesystem::path Followed(const std::string& name);

class FileReplacement {
  public:
    // Opens the temporary file, or the file itself where it is not a regular file. Throws
    // std::runtime_error "cannot create NAME`purpose`: REASON" when it cannot.
    FileReplacement(const std::string& path, const std::string& purpose);
    // Removes the temporary file unless committed.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    std::ofstream& Stream() { return file_; }

    // Closes the file and puts it in place. Returns nothing, or the errno of a failed close
    // (the last writes; 0 when the system gave none); throws std::runtime_error when the rename
    // fails.
    std::optional<int> Commit();

  private:
    std::string target_;
    std::string temporary_;  // empty: the target is written directly
    std::ofstream file_;
    bool committed_ = false;
};

}  // namespace tavrin21::host
