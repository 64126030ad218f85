#pragma once

#include <functional>

namespace tavrin21 {

// A function the optimiser minimises, called with a point of `dimension` coordinates. With more
// than one evaluation thread it is called from several threads at once, so it must not change
// any state.
using Objective = std::function<double(const double* point)>;

}  // namespace tavrin21
