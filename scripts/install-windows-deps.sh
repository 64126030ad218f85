#!/usr/bin/env bash
# Installs what the Windows builds and the Wine test run need on Debian 12, if anything is
# missing: the mingw-w64 cross compilers (the -posix ones: the default -win32 thread model has
# no std::mutex in GCC 12), 64-bit Wine, and GoogleTest's sources to build it for Windows.
# The 32-bit Wine runtime is not installed: the archive's i386 index cannot be used here.
set -euo pipefail
source "$(dirname "$0")/install-missing.sh"

packages=(
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 googletest
    libcli11-dev nlohmann-json3-dev sqlite3 libsqliteodbc unixodbc cmake
)

install_missing "${packages[@]}"
