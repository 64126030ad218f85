#include "tests/support/vectors.h"

#include <bit>
#include <fstream>
#include <stdexcept>

namespace tavrin21::test {

nlohmann::json LoadVectors(const std::string& name) {
    const std::string path = std::string(TAVRIN21_VECTORS_DIR) + "/" + name;
    std::ifstream file(path);
    if (!file) {
        throw std::runtime_error("cannot open vectors " + path);
    }
    return nlohmann::json::parse(file);
}

float SingleFromBits(const std::string& hex) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16)));
}

double DoubleFromBits(const std::string& hex) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(std::stoull(hex, nullptr, 16)));
}

std::uint32_t BitsOf(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

std::uint64_t BitsOf(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

}  // namespace tavrin21::test
