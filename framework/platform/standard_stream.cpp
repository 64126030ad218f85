#include "framework/platform/standard_stream.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace framework {

bool IsStandardStream(const std::string& path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    struct stat named {};
    if (stat(path.c_str(), &named) != 0) {
        return false;
    }
    for (const int descriptor : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat open {};
        if (fstat(descriptor, &open) == 0 && open.st_dev == named.st_dev &&
            open.st_ino == named.st_ino) {
            return true;
        }
    }
    return false;
#endif
}

}  // namespace framework
