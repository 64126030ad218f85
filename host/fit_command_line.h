#pragma once

#include "host/fit_command.h"

namespace CLI {
class App;
}

namespace tavrin21::host {

// Adds the command `fit` and its options, stored into `options`, to the program's command line.
CLI::App* AddFitCommand(CLI::App& app, FitOptions& options);

}  // namespace tavrin21::host
