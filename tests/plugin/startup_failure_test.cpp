// A module whose start-up fails is not loaded: the loader says why, the module's termination
// runs as far as its start-up got, and everything it built is destroyed again.

#include "framework/app.h"
#include "framework/platform/dynamic_library.h"
#include "framework/startup_trace.h"

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using framework::DynamicLibrary;
using framework::ModuleLoadError;
using Events = std::vector<std::string>;

struct FailureCase {
    const char* name;
    const char* modulePath;
    const char* reason;
    Events events;

    friend void PrintTo(const FailureCase& row, std::ostream* out) { *out << row.name; }
};

const FailureCase kCases[] = {
    {"InitInstanceRefuses",
     STARTUP_REFUSING_MODULE,
     "the application refused to start",
     {"build module state", "build theApp", "FrameworkInit", "InitInstance", "ExitInstance",
      "FrameworkTerm", "start-up failed: the application refused to start", "destroy theApp",
      "destroy module state"}},
    {"InitInstanceThrows",
     STARTUP_THROWING_MODULE,
     "the application's start-up threw: no licence for this test",
     {"build module state", "build theApp", "FrameworkInit", "InitInstance", "ExitInstance",
      "FrameworkTerm",
      "start-up failed: the application's start-up threw: no licence for this test",
      "destroy theApp", "destroy module state"}},
    {"NoApplicationObject",
     STARTUP_APPLESS_MODULE,
     "the module has no application object",
     {"build module state", "FrameworkInit", "FrameworkTerm",
      "start-up failed: the module has no application object", "destroy module state"}},
};

class FailedStartup : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailedStartup, FailsTheLoadSaysWhyAndUnloads) {
    const FailureCase& row = GetParam();
    // Twice: a module left loaded after the first failure would not be built again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        framework::ClearStartupTrace();
        try {
            DynamicLibrary::Load(row.modulePath);
            ADD_FAILURE() << "the load succeeded";
        } catch (const ModuleLoadError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(row.modulePath), std::string::npos) << message;
            EXPECT_NE(message.find(row.reason), std::string::npos) << message;
        }
        EXPECT_EQ(framework::StartupTrace(), row.events);
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, FailedStartup, ::testing::ValuesIn(kCases), [](const auto& info) {
    return std::string(info.param.name);
});

}  // namespace
}  // namespace tavrin21
