#include "host/install_layout.h"

#include "framework/platform/dynamic_library.h"

#include <filesystem>

namespace tavrin21::host {

std::string FindBesideProgram(const std::string& name, const std::string& installedFolder) {
    const std::filesystem::path programFolder = framework::ProgramDirectory();
    const std::filesystem::path beside = programFolder / name;
    if (std::filesystem::exists(beside)) {
        return beside.string();
    }
    const std::filesystem::path installed =
        (programFolder / installedFolder / name).lexically_normal();
    if (std::filesystem::exists(installed)) {
        return installed.string();
    }
    return beside.string();
}

std::string InstalledModulePath() {
    return FindBesideProgram(framework::ModuleFileName("tavrin21"), TAVRIN21_MODULE_DIR_FROM_BIN);
}

std::string InstalledLibraryPath() {
    return FindBesideProgram("library.sqlite", TAVRIN21_DATA_DIR_FROM_BIN);
}

}  // namespace tavrin21::host
