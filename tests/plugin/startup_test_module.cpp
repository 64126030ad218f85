// A module that fails to start, for the loader's tests, built in the same order as the real
// module. STARTUP_TEST_FAILURE: 1 InitInstance refuses, 2 InitInstance throws, 3 the module
// has no application object, so the framework's start-up fails.

#include "framework/app.h"
#include "framework/module_state.h"
#include "framework/startup.h"
#include "framework/startup_trace.h"

#include <stdexcept>

namespace {

struct FailingApp : framework::Application {
    bool InitInstance() override {
        if (STARTUP_TEST_FAILURE == 2) {
            throw std::runtime_error("no licence for this test");
        }
        return false;
    }
};

framework::LoadTimeObject<framework::ModuleState> moduleState("module state", "startup test");
#if STARTUP_TEST_FAILURE == 3
framework::ModuleEntry moduleEntry(moduleState, nullptr);
#else
framework::LoadTimeObject<FailingApp> theApp("theApp");
framework::ModuleEntry moduleEntry(moduleState, &theApp);
#endif

}  // namespace
