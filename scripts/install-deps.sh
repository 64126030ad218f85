#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, if anything is missing.
set -euo pipefail
source "$(dirname "$0")/install-missing.sh"

packages=(
    cmake g++ make pkg-config
    unixodbc unixodbc-dev odbcinst libsqliteodbc odbc-postgresql postgresql sqlite3
    libcli11-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format binutils
    librsvg2-bin libpng-dev
)

install_missing "${packages[@]}"

# The SQLite ODBC driver registers itself on install; make sure the name we connect with exists.
if ! odbcinst -q -d -n SQLite3 >/dev/null 2>&1; then
    odbcinst -i -d -f /usr/share/sqliteodbc/unixodbc.ini
fi
