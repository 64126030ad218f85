#include "framework/platform/terminal.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDOUT_FILENO 1
#else
#include <unistd.h>
#endif

namespace framework {

bool StandardOutputIsTerminal() { return isatty(STDOUT_FILENO) != 0; }

}  // namespace framework
