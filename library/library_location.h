#pragma once

// Paths of library database files, composed as Windows paths: from the root of the current
// drive ("\LIB\zova.mdb") or from the root of a given drive ("D:\\PROJ\x.mdb"). The framework
// maps them onto the host's files.

#include <cstdint>
#include <string>

namespace tavrin21 {

// The folder of the template files that missing library files are made from.
inline constexpr const char* kTemplateDirectory = "EMPRJ";

// The longest path the composers make. A longer one is an error, never a cut one, which would
// name another file.
inline constexpr std::size_t kMaxPathLength = 199;

// A backslash and the text, for each non-empty one of `first`, `second` and `third` in order.
// Throws std::length_error for a path longer than kMaxPathLength.
std::string JoinPath(const std::string& first, const std::string& second, const std::string& third);

// The drive letter ('A' plus `driveIndex`), a colon and a backslash, then as JoinPath. An index
// whose letter is the NUL character leaves the drive part out, since the NUL ends the text
// there. Throws std::length_error for a path longer than kMaxPathLength.
std::string JoinDrivePath(std::uint8_t driveIndex,
                          const std::string& first,
                          const std::string& second,
                          const std::string& third);

// The index of the drive whose letter is the first character of `drive`, in either case. An
// empty text has the NUL character there, whose index names no letter.
std::uint8_t DriveIndex(const std::string& drive);

}  // namespace tavrin21
