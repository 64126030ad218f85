// A module whose start-up fails is not loaded: the loader says why, the module's termination
// runs as far as its start-up got, and everything it built is destroyed again.

#include "framework/platform/dynamic_library.h"
#include "framework/startup_trace.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using Events = std::vector<std::string>;

TEST(FailedStartup, FailsTheLoadSaysWhyAndUnloads) {
    const struct {
        const char* modulePath;
        std::string reason;
        bool hasApp;
    } rows[] = {
        {STARTUP_REFUSING_MODULE, "the application refused to start", true},
        {STARTUP_THROWING_MODULE, "the application's start-up threw: no licence for this test",
         true},
        {STARTUP_APPLESS_MODULE, "the module has no application object", false},
    };
    for (const auto& row : rows) {
        const std::string failed = "start-up failed: " + row.reason;
        const Events events =
            row.hasApp
                ? Events{"build module state",  "build theApp",  "FrameworkInit", "InitInstance",
                         "ExitInstance",        "FrameworkTerm", failed,          "destroy theApp",
                         "destroy module state"}
                : Events{"build module state", "FrameworkInit", "FrameworkTerm", failed,
                         "destroy module state"};
        // Twice: a module left loaded after the first failure would not be built again.
        for (int attempt = 0; attempt < 2; ++attempt) {
            SCOPED_TRACE(row.reason + ", attempt " + std::to_string(attempt));
            framework::ClearStartupTrace();
            try {
                framework::DynamicLibrary::Load(row.modulePath);
                ADD_FAILURE() << "the load succeeded";
            } catch (const framework::ModuleLoadError& error) {
                EXPECT_EQ(error.what(), "cannot load module " + std::string(row.modulePath) +
                                            ": its start-up failed: " + row.reason);
            }
            EXPECT_EQ(framework::StartupTrace(), events);
        }
    }
}

}  // namespace
}  // namespace tavrin21
