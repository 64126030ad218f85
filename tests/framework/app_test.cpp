#include "framework/app.h"

#include "framework/startup.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

// The name comes from the module file, without folder and last extension, unless the
// application was built with one; nothing starts without a module file or an application.
TEST(FrameworkInit, NamesTheApplicationAfterItsModuleFile) {
    const struct {
        const char* builtWith;
        const char* moduleFile;
        bool started;
        const char* name;
    } rows[] = {
        {nullptr, "/opt/suite/lib.method.v2.so", true, "lib.method.v2"},
        {nullptr, "noextension", true, "noextension"},
        {"Given", "/opt/suite/tavrin21.so", true, "Given"},
        {nullptr, "", false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.moduleFile);
        Application app(row.builtWith);
        ASSERT_EQ(FrameworkInit(&app, row.moduleFile, "-x"), row.started);
        EXPECT_EQ(app.AppName(), row.name);
        EXPECT_EQ(app.CommandLine(), row.started ? "-x" : "");
    }
    EXPECT_FALSE(FrameworkInit(nullptr, "/opt/suite/tavrin21.so", ""));
}

}  // namespace
}  // namespace framework
