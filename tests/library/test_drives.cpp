#include "tests/library/test_drives.h"

#include "framework/platform/host_system.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <utility>

namespace tavrin21::test {

namespace fs = std::filesystem;

namespace {

const char* const kFolders[] = {"root", "d"};

// Whether `drive` shows `folder`: a file made in the one is seen in the other. (The runtime
// library cannot tell that two names are the same folder.)
bool ShowsFolder(const fs::path& drive, const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return false;
    }
    std::ofstream(folder / "drive-probe").close();
    const bool shown = fs::exists(drive / "drive-probe", error);
    fs::remove(folder / "drive-probe", error);
    return shown;
}

std::optional<std::string> EmptyDriveFolders(const fs::path& windowsRoot) {
    for (const char* drive : {"R:/", "D:/"}) {
        const fs::path folder = windowsRoot / (std::string("drive-") + char(std::tolower(*drive)));
        if (!ShowsFolder(drive, folder)) {
            return std::string("needs the drive ") + drive + " mapped onto the folder " +
                   folder.string() + ", as scripts/wine-test.sh does";
        }
        for (const auto& entry : fs::directory_iterator(folder)) {
            fs::remove_all(entry.path());
        }
    }
    return std::nullopt;
}

}  // namespace

TestDrives::TestDrives() {
    if (!framework::HostIsWindows()) {
        scratch_.emplace();
        for (const char* folder : kFolders) {
            fs::create_directories(*scratch_ / folder);
        }
        previousMapping_ =
            framework::SetPathMapping({*scratch_ / "root", {{'D', *scratch_ / "d"}}});
        return;
    }
    const char* scratchRoot = std::getenv("TAVRIN21_SCRATCH_ROOT");
    const char* driverList = std::getenv("ODBCSYSINI");
    if (scratchRoot == nullptr || driverList == nullptr) {
        missing_ =
            "needs TAVRIN21_SCRATCH_ROOT and ODBCSYSINI, as scripts/wine-test.sh and ctest "
            "set them";
        return;
    }
    unixRoot_ = scratchRoot;
    // Reached from the current drive: made absolute before R: becomes it.
    driverList_ = fs::absolute(driverList);
    missing_ = EmptyDriveFolders(fs::absolute(unixRoot_));
    if (!missing_) {
        previousFolder_ = fs::current_path();
        fs::current_path("R:/");
    }
}

TestDrives::~TestDrives() {
    if (!framework::HostIsWindows()) {
        framework::SetPathMapping(previousMapping_);
    } else if (!previousFolder_.empty()) {
        fs::current_path(previousFolder_);
    }
}

fs::path TestDrives::Local(std::string_view windowsPath) const {
    return framework::HostIsWindows() ? fs::path(std::string(windowsPath))
                                      : framework::HostPath(windowsPath);
}

std::string TestDrives::ForDriver(std::string_view windowsPath) const {
    if (!framework::HostIsWindows()) {
        return framework::HostPath(windowsPath).string();
    }
    // "D:\PROJ\x.mdb" below drive-d, "\LIB\x.mdb" and "LIB\x.mdb" below drive-r.
    const bool onD = windowsPath.size() >= 2 && windowsPath[1] == ':';
    fs::path path = unixRoot_ / (onD ? "drive-d" : "drive-r");
    std::string part;
    for (const char c : windowsPath.substr(onD ? 2 : 0)) {
        if (c != '\\' && c != '/') {
            part += c;
        } else if (!part.empty()) {
            path /= std::exchange(part, "");
        }
    }
    return (part.empty() ? path : path / part).generic_string();
}

void TestDrives::PointDataSourceAt(std::string_view windowsPath) const {
    if (!framework::HostIsWindows()) {
        return;
    }
    std::ofstream(driverList_ / "odbc.ini") << "[Data Sources]\n''=Test stand-in\n\n['']\n"
                                               "Driver=Microsoft Access Driver (*.mdb)\nDatabase="
                                            << ForDriver(windowsPath) << "\n";
}

}  // namespace tavrin21::test
