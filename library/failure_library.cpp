#include "library/failure_library.h"

#include <utility>

namespace tavrin21 {

FailureLibrary::FailureLibrary(std::string driveText, std::string directoryText)
    : DatabaseFile(std::move(driveText), std::move(directoryText), kFailureLibraryFileName) {}

}  // namespace tavrin21
