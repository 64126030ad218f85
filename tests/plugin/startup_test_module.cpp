// A module that fails to start, for the loader's tests. It builds its objects in the same order
// as the real module; STARTUP_TEST_FAILURE picks how its start-up fails:
//   1  the application's InitInstance refuses,
//   2  the application's InitInstance throws,
//   3  the module has no application object, so the framework's start-up fails.

#include "framework/app.h"
#include "framework/module_state.h"
#include "framework/startup.h"
#include "framework/startup_trace.h"

#include <stdexcept>

namespace {

#if STARTUP_TEST_FAILURE != 3
class FailingApp : public framework::Application {
  public:
    bool InitInstance() override {
        framework::Application::InitInstance();
#if STARTUP_TEST_FAILURE == 2
        throw std::runtime_error("no licence for this test");
#else
        return false;
#endif
    }
};
#endif

framework::LoadTimeObject<framework::ModuleState> moduleState("module state", "startup test");

#if STARTUP_TEST_FAILURE == 3
framework::ModuleEntry moduleEntry(moduleState, nullptr);
#else
framework::LoadTimeObject<FailingApp> theApp("theApp");
framework::ModuleEntry moduleEntry(moduleState, &theApp);
#endif

}  // namespace
