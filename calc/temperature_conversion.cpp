#include "calc/temperature_conversion.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace tavrin21 {

namespace {

// Ten times the ratio of the rate at the row temperature to the rate at the column temperature,
// rows and columns 10, 20 .. 100 degrees. Not reciprocal in pairs: each direction as measured.
constexpr std::uint8_t kTemperatureFactorTable[10][10] = {
    {10, 9, 8, 8, 7, 5, 4, 3, 2, 1},         {11, 10, 9, 9, 7, 6, 5, 4, 2, 2},
    {12, 11, 10, 10, 8, 7, 5, 4, 3, 2},      {13, 12, 10, 10, 8, 7, 6, 4, 3, 2},
    {15, 14, 12, 12, 10, 8, 7, 5, 3, 2},     {19, 17, 16, 15, 12, 10, 8, 6, 4, 3},
    {24, 22, 19, 18, 15, 12, 10, 7, 5, 3},   {33, 30, 27, 26, 21, 17, 14, 10, 7, 4},
    {49, 45, 40, 38, 32, 25, 20, 15, 10, 6}, {77, 70, 63, 60, 50, 40, 32, 23, 16, 10}};

constexpr float kLowerCelsius = 10.0f;
constexpr float kUpperCelsius = 100.0f;
constexpr double kGrowthPerStep = 1.25;
// The step factor is a single-precision 0.1 (0.100000001490116) used in double arithmetic.
constexpr double kStep = static_cast<double>(0.1f);
constexpr int kGridSize = 10;

// 1.25 raised to a tenth of the temperature difference.
double Law(double differenceCelsius) {
    return std::pow(kGrowthPerStep, differenceCelsius * kStep);
}

// The grid row or column (1..10) whose cell holds `celsius` in [10, 100]; 0 for a NaN.
int GridIndex(double celsius) {
    for (int k = 1; k <= kGridSize; ++k) {
        const double grid = 10.0 * k;
        if (celsius == grid || (grid < celsius && celsius < grid + 10.0)) {
            return k;
        }
    }
    return 0;
}

double Entry(int row, int column) {
    return kTemperatureFactorTable[row - 1][column - 1];
}

// The interpolated ratio of the rate at `from` to the rate at `to`, both in [10, 100].
double TableRatio(double from, double to) {
    const int i = GridIndex(from);
    const int j = GridIndex(to);
    const double fx = static_cast<float>((from - 10.0 * i) * kStep);
    const double fy = static_cast<float>((to - 10.0 * j) * kStep);
    // A weight beyond the last row or column is zero; those entries are never read.
    double sum = Entry(i, j) * (1 - fx) * (1 - fy);
    if (j < kGridSize) {
        sum += Entry(i, j + 1) * (1 - fx) * fy;
    }
    if (i < kGridSize) {
        sum += Entry(i + 1, j) * fx * (1 - fy);
    }
    if (i < kGridSize && j < kGridSize) {
        sum += Entry(i + 1, j + 1) * fx * fy;
    }
    return kStep * sum;
}

}  // namespace

float ConvertedRate(float fromCelsius, float toCelsius, float rate) {
    const double f = fromCelsius;
    const double t = toCelsius;
    const double r = rate;
    if ((f < kLowerCelsius && t < kLowerCelsius) || (f > kUpperCelsius && t > kUpperCelsius)) {
        return static_cast<float>(r * Law(t - f));
    }
    if (std::isnan(f) || std::isnan(t)) {
        // No grid cell holds a NaN temperature: the rate at it is unknown.
        return std::numeric_limits<float>::quiet_NaN();
    }

    double carriedRate = r;
    double tableFrom = f;
    if (f < kLowerCelsius) {
        carriedRate = r * Law(kLowerCelsius - f);
        tableFrom = kLowerCelsius;
    } else if (f > kUpperCelsius) {
        carriedRate = r * Law(kUpperCelsius - f);
        tableFrom = kUpperCelsius;
    }
    const double tableTo =
        t < kLowerCelsius ? kLowerCelsius : (t > kUpperCelsius ? kUpperCelsius : t);

    const double ratio = TableRatio(tableFrom, tableTo);
    const float atTableEdge = static_cast<float>(carriedRate * (1 / ratio));
    if (t < kLowerCelsius) {
        return static_cast<float>(atTableEdge * Law(t - kLowerCelsius));
    }
    if (t > kUpperCelsius) {
        return static_cast<float>(atTableEdge * Law(t - kUpperCelsius));
    }
    return atTableEdge;
}

void ConvertRateToTemperature(float fromCelsius, float toCelsius, float rate, float* out) {
    *out = ConvertedRate(fromCelsius, toCelsius, rate);
}

}  // namespace tavrin21
