#!/usr/bin/python3
"""Reference maximum-likelihood fits of the right-censored two-parameter Weibull model.

Independent of the C++ code: the shape solves the profile score equation (scipy.optimize.brentq),
and scipy.optimize.minimize (Nelder-Mead) on the full censored log-likelihood confirms it. The
95 % bounds come from a central-difference Hessian of -ln L in (ln scale, ln shape).

Run with Debian's python3-scipy:  /usr/bin/python3 tests/tools/weibull_reference.py
It prints the rows of kReferenceFits in tests/host/weibull_mle_test.cpp.
"""
import math
import textwrap

import numpy as np
from scipy import optimize

ORIGIN = 20.0  # the field-data method's time origin, applied to the example library's times

# name, origin, failure times, suspension times
SETS = [
    ("RelayGroundFixed", ORIGIN, [38.5, 61.25, 97.0], []),
    ("RelayGroundMobile", ORIGIN, [45.5, 120.0], [88.0]),
    ("FanGroundBenign", ORIGIN,
     [376.55, 960.5, 417.54, 193.36, 517.98, 126.9, 124.14, 1138.44], [571.1, 122.87]),
    ("SealNavalSheltered", ORIGIN,
     [2733.41, 2277.53, 2664.5, 3500.6, 2883.2, 5109.43, 1853.2, 3250.76, 3127.26, 3615.13,
      5105.04, 3857.68, 2107.71, 4245.04, 4792.07],
     [2022.76, 3121.02, 459.43, 2191.69, 2259.79, 3434.6, 2429.04, 4034.53, 1637.22, 3370.23]),
    # Ten units, four suspended: the set whose adjusted median ranks are published.
    ("TenUnitsFourSuspended", 0.0, [150, 560, 800, 1720, 5230, 6890], [340, 1130, 2470, 4210]),
    # Ball-bearing endurance, millions of revolutions (Lieblein and Zelen, 1956), complete.
    ("BallBearings", 0.0,
     [17.88, 28.92, 33.00, 41.52, 42.12, 45.60, 48.48, 51.84, 51.96, 54.12, 55.56, 67.80,
      68.64, 68.64, 68.88, 84.12, 93.12, 98.64, 105.12, 105.84, 127.92, 128.04, 173.40], []),
]


def neg_log_likelihood(log_params, failures, suspensions):
    scale, shape = math.exp(log_params[0]), math.exp(log_params[1])
    z_f = (failures / scale) ** shape
    density = np.log(shape / scale) + (shape - 1.0) * np.log(failures / scale) - z_f
    return -density.sum() + ((suspensions / scale) ** shape).sum()


def profile_fit(failures, suspensions):
    times = np.concatenate([failures, suspensions])
    r = len(failures)
    mean_log_f = np.log(failures).mean()

    def score(shape):
        w = times ** shape
        return 1.0 / shape + mean_log_f - (w * np.log(times)).sum() / w.sum()

    shape = optimize.brentq(score, 0.05, 60.0, xtol=1e-15, rtol=1e-15, maxiter=500)
    scale = ((times ** shape).sum() / r) ** (1.0 / shape)
    return scale, shape


def hessian(f, x, h=1e-4):
    n = len(x)
    result = np.zeros((n, n))
    for i in range(n):
        for j in range(n):
            def at(di, dj):
                y = np.array(x, dtype=float)
                y[i] += di
                y[j] += dj
                return f(y)
            result[i, j] = (at(h, h) - at(h, -h) - at(-h, h) + at(-h, -h)) / (4 * h * h)
    return result


def times_list(times):
    text = "{" + ", ".join(repr(float(t)) for t in times) + "}"
    return textwrap.fill(text, width=94, subsequent_indent="      ")


def main():
    z = 1.959963984540054
    k = math.log(-math.log(0.9))
    for name, origin, failures, suspensions in SETS:
        f = np.array(failures, dtype=float) - origin
        s = np.array(suspensions, dtype=float) - origin
        scale, shape = profile_fit(f, s)
        nm = optimize.minimize(neg_log_likelihood, [math.log(f.mean()), 0.0], args=(f, s),
                               method="Nelder-Mead",
                               options={"xatol": 1e-13, "fatol": 1e-15, "maxiter": 20000})
        check = max(abs(math.exp(nm.x[0]) / scale - 1), abs(math.exp(nm.x[1]) / shape - 1))
        assert check < 1e-7, (name, check)

        x = [math.log(scale), math.log(shape)]
        nll = neg_log_likelihood(x, f, s)
        cov = np.linalg.inv(hessian(lambda y: neg_log_likelihood(y, f, s), x))
        grad_b10 = np.array([1.0, -k / shape])
        sd = {"scale": math.sqrt(cov[0, 0]), "shape": math.sqrt(cov[1, 1]),
              "b10": math.sqrt(grad_b10 @ cov @ grad_b10)}
        b10 = scale * (-math.log(0.9)) ** (1.0 / shape)
        bounds = []
        for key, value in (("scale", scale), ("shape", shape), ("b10", b10)):
            spread = math.exp(z * sd[key])
            bounds += [value / spread, value * spread]
        print(f"    {{\"{name}\", {origin!r},\n"
              f"     {times_list(failures)},\n"
              f"     {times_list(suspensions)},\n"
              f"     {shape:.17g}, {scale:.17g}, {nll:.17g}, {b10:.17g},\n"
              f"     {{{', '.join(f'{b:.12g}' for b in bounds)}}}}},")


if __name__ == "__main__":
    main()
