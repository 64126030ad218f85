#pragma once

// Finding the installed ODBC driver for Access.

#include <cstddef>
#include <string>

namespace tavrin21 {

// The description of the first installed ODBC driver whose description contains "Access"
// (exactly so: case-sensitive), or an empty text when there is none or the driver list cannot
// be had.
std::string AccessDriverName();

// The first entry of `drivers` that contains "Access". `drivers` holds NUL-ended entries, the
// list ended by an empty entry, as the ODBC installer writes it; nothing past `bytes` is read.
std::string FindAccessDriver(const char* drivers, std::size_t bytes);

}  // namespace tavrin21
