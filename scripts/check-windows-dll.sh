#!/usr/bin/env bash
# Checks the binary contract of the 32-bit Windows module in DIR (default build-win32/bin):
#   - tavrin21.dll is a PE32 DLL for i386;
#   - it exports exactly the eight entry points, by undecorated name, and each is compiled as
#     cdecl (its symbol is _name, where stdcall would give _name@bytes);
#   - it, and the framework and host library DLLs it loads, import only the system's DLLs and
#     each other;
#   - its only resource is the version resource, language 0409, with the numbers and strings of
#     plugin/version.h.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-win32/bin}
module=$dir/tavrin21.dll
objdump=i686-w64-mingw32-objdump
nm=i686-w64-mingw32-nm
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Lines present in both lists, compared as sorted sets; prints the difference on failure.
same_set() {
    local what=$1 expected=$2 actual=$3
    if ! diff <(sort <<<"$expected") <(sort <<<"$actual") >/dev/null; then
        fail "$what differ (< expected, > actual):"
        diff <(sort <<<"$expected") <(sort <<<"$actual") >&2 || true
    fi
}

headers=$("$objdump" -p "$module")
grep -q 'file format pei-i386' <<<"$headers" && grep -q '(PE32)' <<<"$headers" ||
    fail "$module is not PE32 for i386"
grep -qx $'\tDLL' <<<"$headers" || fail "$module is not a DLL"

exports=(calc_item chek_item GetViewFields GetFieldsCount GetTitleLinesCount GetFieldLength
         GetFieldTitle GetField)
actual_exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" |
    sed -n 's/^\s*\[ *[0-9]*\] //p')
same_set "exports of $module" "$(printf '%s\n' "${exports[@]}")" "$actual_exports"
symbols=$("$nm" "$module")
for name in "${exports[@]}"; do
    grep -qE " T _${name}\$" <<<"$symbols" || fail "$name is not cdecl (no symbol _$name)"
done

# KERNEL32 and msvcrt: the C and C++ runtimes are linked in statically and run on the system's C
# library; ODBC32 and ODBCCP32: the ODBC driver manager and its installer (driver list);
# framework.dll and morvik.dll: the module's framework and the host's calculation library.
allowed="KERNEL32.dll msvcrt.dll ODBC32.dll ODBCCP32.dll framework.dll morvik.dll"
for binary in "$module" "$dir/framework.dll" "$dir/morvik.dll"; do
    for import in $("$objdump" -p "$binary" | sed -n 's/^\s*DLL Name: //p'); do
        [[ " $allowed " == *" $import "* ]] || fail "$binary imports $import"
    done
done

resources=$(sed -n '/Resource Directory section/,/Resources start/p' <<<"$headers")
[[ $(grep -c 'Entry: ID' <<<"$resources") == 3 ]] &&
    grep -q 'Entry: ID: 0x000010,' <<<"$resources" &&
    grep -q 'Entry: ID: 0x000409,' <<<"$resources" ||
    fail "the only resource is not one version resource in language 0409"

# What the resource must hold, from the one header that defines it.
expected_version=$(cpp -P -I. - <<'TEMPLATE' | sed -E 's/"//g; /VERSION /s/, /./g'
#include "plugin/version.h"
FILEVERSION TAVRIN21_VERSION_NUMBERS
PRODUCTVERSION TAVRIN21_VERSION_NUMBERS
StringTable TAVRIN21_VERSION_BLOCK
CompanyName=TAVRIN21_COMPANY_NAME
FileDescription=TAVRIN21_FILE_DESCRIPTION
FileVersion=TAVRIN21_VERSION_TEXT
InternalName=TAVRIN21_INTERNAL_NAME
LegalTrademarks=TAVRIN21_LEGAL_TRADEMARKS
OriginalFilename=TAVRIN21_ORIGINAL_FILENAME
ProductName=TAVRIN21_PRODUCT_NAME
ProductVersion=TAVRIN21_VERSION_TEXT
Translation TAVRIN21_VERSION_LANGUAGE TAVRIN21_VERSION_CODE_PAGE
TEMPLATE
)
translation=$(sed -n 's/^Translation //p' <<<"$expected_version")
expected_version=$(sed "s/^Translation .*/Translation $(printf '%04X %04X' $translation)/" \
    <<<"$expected_version")
actual_version=$(/usr/bin/python3 scripts/check_version_resource.py "$module")
if [[ "$expected_version" != "$actual_version" ]]; then
    fail "the version resource differs from plugin/version.h (< expected, > actual):"
    diff <(echo "$expected_version") <(echo "$actual_version") >&2 || true
fi

if ((failures)); then
    exit 1
fi
echo "$module: PE32 i386 DLL; exports ${exports[*]} (cdecl, undecorated);"
echo "  imports only $allowed; version resource:"
sed 's/^/    /' <<<"$actual_version"
