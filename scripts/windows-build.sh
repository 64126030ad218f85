#!/usr/bin/env bash
# Cross-builds the project for Windows with mingw-w64 into BUILD_DIR.
#   scripts/windows-build.sh [i686|x86_64] [extra CMake configure arguments...]
# i686 (the default) makes the 32-bit tavrin21.dll the host loads, without the tests; x86_64
# makes the same sources and the tests for 64-bit Windows, to run under Wine (wine-test.sh).
# BUILD_DIR defaults to build-win32 or build-win64.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-i686}
shift || true
case $arch in
    i686) build_dir=${BUILD_DIR:-build-win32}; tests=OFF ;;
    x86_64) build_dir=${BUILD_DIR:-build-win64}; tests=ON ;;
    *) echo "usage: $0 [i686|x86_64] [cmake arguments...]" >&2; exit 2 ;;
esac
toolchain=$PWD/cmake/toolchains/mingw-$arch.cmake
deps=$PWD/$build_dir/deps
jobs=${JOBS:-2}

# Header-only packages: their headers and CMake package files, and nothing else of /usr, where
# the cross compiler looks for packages.
mkdir -p "$deps/include" "$deps/share/cmake"
for header in /usr/include/CLI /usr/include/nlohmann; do
    ln -sfn "$header" "$deps/include/$(basename "$header")"
done
for package in /usr/share/cmake/CLI11 /usr/share/cmake/nlohmann_json; do
    ln -sfn "$package" "$deps/share/cmake/$(basename "$package")"
done

# GoogleTest built for the target from Debian's sources (libgtest-dev has Linux binaries only).
if [[ $tests == ON && ! -f $deps/lib/cmake/GTest/GTestConfig.cmake ]]; then
    cmake -S /usr/src/googletest -B "$build_dir/googletest" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DTAVRIN21_WINDOWS_DEPS="$deps" \
        -Dgtest_disable_pthreads=OFF >/dev/null
    cmake --build "$build_dir/googletest" -j"$jobs" >/dev/null
    cmake --install "$build_dir/googletest" >/dev/null
fi

cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DTAVRIN21_WINDOWS_DEPS="$deps" \
    -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} -DTAVRIN21_BUILD_TESTS=$tests \
    -DTAVRIN21_BUILD_BENCH=OFF "$@"
cmake --build "$build_dir" -j"$jobs"
