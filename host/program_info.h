#pragma once

// What the program says about itself: --version, and the defaults and examples of --help.

#include <string>

namespace CLI {
class App;
}

namespace tavrin21::host {

// The program's version, and the version block of the module at `modulePath` (or why there
// is none), one line each.
std::string VersionText(const std::string& modulePath);

// Adds --version, which prints VersionText of the default module and exits with 0.
void AddVersionFlag(CLI::App& app);

// Shows each option's default in every command's --help, and gives calc and columns an example
// under their options. Call after every command and option was added.
void FinishHelp(CLI::App& app);

}  // namespace tavrin21::host
