#pragma once

// Where the program finds what it loads: beside itself in a build tree, or in the installed
// layout (bin/, lib/tavrin21/, share/tavrin21/) relative to its own folder.

#include <string>

namespace tavrin21::host {

// `name` in the program's folder when it is there, else in the folder `installedFolder`
// (relative to the program's folder) when it is there, else the path beside the program.
std::string FindBesideProgram(const std::string& name, const std::string& installedFolder);

// The module: tavrin21.so beside the program, or in lib/tavrin21/ of an installed tree.
std::string InstalledModulePath();
// The example library: library.sqlite beside the program, or in share/tavrin21/.
std::string InstalledLibraryPath();

}  // namespace tavrin21::host
