#pragma once

// The independently computed test vectors, read from tests/vectors.

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace tavrin21::test {

// The whole vector file `name` (e.g. "conversion.json").
nlohmann::json LoadVectors(const std::string& name);

// A single from its 8-hex-digit bit pattern, a double from its 16-digit one.
float SingleFromBits(const std::string& hex);
double DoubleFromBits(const std::string& hex);
std::uint32_t BitsOf(float value);
std::uint64_t BitsOf(double value);

}  // namespace tavrin21::test
