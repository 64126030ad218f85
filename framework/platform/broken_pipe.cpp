#include "framework/platform/broken_pipe.h"

#include <csignal>

namespace framework {

void IgnoreBrokenPipeSignal() {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

}  // namespace framework
