#pragma once

#include <cstddef>

namespace tavrin21::portable {

// x^y and ln x from plain IEEE double operations, so that a fit gives the same bits on every
// processor and C library. They follow glibc's pow and log (Arm's optimized routines) as glibc
// builds them for processors without fused multiply-add, special cases included, and agree with
// those bit for bit; errors stay below 0.55 ulp. Rounding is to nearest: the module never
// changes it. errno and the floating-point exception flags are left alone.
double Pow(double x, double y);
double Log(double x);

// Pow and Log of every element of arrays, bit for bit what Pow and Log give one at a time, at a
// fraction of the cost over many elements: out[i] = Pow(x[i], y[i]), out[i] = Log(x[i]) for
// i < count. out may be x or y. An element off the common path is first taken through it too,
// which may raise floating-point exception flags that Pow or Log would not (nothing reads them).
void PowEach(const double* x, const double* y, std::size_t count, double* out);
void LogEach(const double* x, std::size_t count, double* out);

}  // namespace tavrin21::portable
