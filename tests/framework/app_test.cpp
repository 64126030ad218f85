#include "framework/app.h"

#include "framework/startup.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

TEST(FrameworkInit, NamesAnUnnamedApplicationAfterItsModuleFile) {
    const struct {
        const char* moduleFile;
        const char* expectedName;
    } rows[] = {
        {"/opt/suite/methods/tavrin21.so", "tavrin21"},
        {"tavrin21.so", "tavrin21"},
        {"/opt/suite/lib.method.v2.so", "lib.method.v2"},
        {"/opt/suite/noextension", "noextension"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.moduleFile);
        Application app;
        ASSERT_TRUE(FrameworkInit(&app, row.moduleFile, "-x"));
        EXPECT_EQ(app.AppName(), row.expectedName);
        EXPECT_EQ(app.ModuleFile(), row.moduleFile);
        EXPECT_EQ(app.CommandLine(), "-x");
    }
}

TEST(FrameworkInit, KeepsTheNameAnApplicationWasBuiltWith) {
    Application app("Given");
    ASSERT_TRUE(FrameworkInit(&app, "/opt/suite/tavrin21.so", ""));
    EXPECT_EQ(app.AppName(), "Given");
}

TEST(FrameworkInit, FailsWithoutApplicationOrModuleFile) {
    EXPECT_FALSE(FrameworkInit(nullptr, "/opt/suite/tavrin21.so", ""));
    Application app;
    EXPECT_FALSE(FrameworkInit(&app, "", ""));
    EXPECT_EQ(app.AppName(), "");
}

TEST(Application, RegistryKeyTakesTheApplicationNameAsProfileUntilReplaced) {
    Application app;
    ASSERT_TRUE(FrameworkInit(&app, "/opt/suite/method.so", ""));
    EXPECT_EQ(app.ProfileName(), "");

    app.SetRegistryKey("Vendor");
    EXPECT_EQ(app.RegistryKey(), "Vendor");
    EXPECT_EQ(app.ProfileName(), "method");

    app.SetProfileName("Shared Profile");
    EXPECT_EQ(app.ProfileName(), "Shared Profile");
    EXPECT_EQ(app.AppName(), "method");
}

TEST(Application, IsFoundByNameOnlyWhileItLives) {
    EXPECT_EQ(FindApplication("short-lived"), nullptr);
    {
        Application app("short-lived");
        Application other("other");
        EXPECT_EQ(FindApplication("short-lived"), &app);
        EXPECT_EQ(FindApplication("other"), &other);
    }
    EXPECT_EQ(FindApplication("short-lived"), nullptr);
    EXPECT_EQ(FindApplication("other"), nullptr);
}

TEST(Application, AnUnnamedApplicationIsNotFoundByTheEmptyName) {
    Application unnamed;
    EXPECT_EQ(FindApplication(""), nullptr);
}

}  // namespace
}  // namespace framework
