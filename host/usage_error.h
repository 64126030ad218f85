#pragma once

// What a wrong command line is told.

#include <string>

namespace CLI {
class App;
class ParseError;
}  // namespace CLI

namespace tavrin21::host {

// The reason to give for `error`. The parser checks required options before it looks for
// arguments it does not know, so "import --bogus" would be told that --table is missing; an
// option that the chosen command does not have is named first.
std::string UsageReason(const CLI::App& app, const CLI::ParseError& error, int argc, char** argv);

// Makes every option and argument of every command that takes a value refuse an empty one: a
// script whose variable is unset passes "", which would otherwise mean a default (the example
// library) or a file named by nothing.
void RefuseEmptyValues(CLI::App& app);

// Where to read the usage: the help of the command `argv` names, or the program's.
std::string UsageHint(const CLI::App& app, int argc, char** argv);

}  // namespace tavrin21::host
