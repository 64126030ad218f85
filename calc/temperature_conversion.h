#pragma once

namespace tavrin21 {

// Carries a failure rate tabled at `fromCelsius` to `toCelsius`: bilinear in the fixed 10 x 10
// table of rate ratios between 10 and 100 degrees, and by a factor 1.25 per 10 degrees outside
// it. The result is rounded to single precision as it is stored.
void ConvertRateToTemperature(float fromCelsius, float toCelsius, float rate, float* out);

// The same as a value.
float ConvertedRate(float fromCelsius, float toCelsius, float rate);

}  // namespace tavrin21
