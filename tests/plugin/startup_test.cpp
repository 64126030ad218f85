// Loading and unloading the module as the host does: what is built, started, stopped and
// destroyed, in which order, and what the application object looks like while it is loaded.

#include "framework/app.h"
#include "framework/platform/dynamic_library.h"
#include "framework/platform/module_version.h"
#include "framework/startup_trace.h"
#include "tests/support/scratch_directory.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

using framework::DynamicLibrary;
using framework::FindApplication;
using Events = std::vector<std::string>;

const Events kLoadEvents = {
    "build module state",
    "build theApp",
    "build SecurityEntries",
    "build SecurityPermissionKinds",
    "build SecurityObjectCatalogue",
    "FrameworkInit",
    "InitInstance",
};

const Events kUnloadEvents = {
    "ExitInstance",
    "FrameworkTerm",
    "destroy SecurityObjectCatalogue",
    "destroy SecurityPermissionKinds",
    "destroy SecurityEntries",
    "destroy theApp",
    "destroy module state",
};

class ModuleStartup : public ::testing::Test {
  protected:
    void SetUp() override { framework::ClearStartupTrace(); }
};

TEST_F(ModuleStartup, BuildsInOrderStartsLastStopsFirstAndDestroysInReverse) {
    DynamicLibrary module = DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    EXPECT_EQ(framework::StartupTrace(), kLoadEvents);

    framework::ClearStartupTrace();
    module.Unload();
    EXPECT_EQ(framework::StartupTrace(), kUnloadEvents);
}

TEST_F(ModuleStartup, ApplicationKeepsTheSuiteProfileUnderItsRegistryKey) {
    DynamicLibrary module = DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    const framework::Application* app = FindApplication("tavrin21");
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->RegistryKey(), "Mirelda");
    EXPECT_EQ(app->ProfileName(), "Quorvant for Windows");
    EXPECT_EQ(app->ModuleFile(), TAVRIN21_MODULE_PATH);
    EXPECT_EQ(app->CommandLine(), "");

    module.Unload();
    EXPECT_EQ(FindApplication("tavrin21"), nullptr);
}

TEST_F(ModuleStartup, ApplicationIsNamedAfterTheFileButKeepsTheSuiteProfile) {
    test::ScratchDirectory folder;
    const std::filesystem::path renamed = folder / "method_b.so";
    std::filesystem::copy_file(TAVRIN21_MODULE_PATH, renamed);

    DynamicLibrary module = DynamicLibrary::Load(renamed.string());
    const framework::Application* app = FindApplication("method_b");
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->RegistryKey(), "Mirelda");
    EXPECT_EQ(app->ProfileName(), "Quorvant for Windows");
    EXPECT_EQ(FindApplication("tavrin21"), nullptr);
}

TEST_F(ModuleStartup, SecondLoadOfTheSameFileSharesTheFirstStartUp) {
    DynamicLibrary first = DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    DynamicLibrary second = DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    EXPECT_EQ(framework::StartupTrace(), kLoadEvents);

    first.Unload();
    EXPECT_NE(FindApplication("tavrin21"), nullptr) << "unloaded while still loaded once more";
    framework::ClearStartupTrace();
    second.Unload();
    EXPECT_EQ(framework::StartupTrace(), kUnloadEvents);
}

TEST(ModuleVersion, FileCarriesItsVersionBlock) {
    const std::optional<framework::ModuleVersion> version =
        framework::ReadModuleVersion(TAVRIN21_MODULE_PATH);
    ASSERT_TRUE(version.has_value());
    const std::array<std::uint16_t, 4> expected{1, 0, 0, 1};
    EXPECT_EQ(version->fileVersion, expected);
    EXPECT_EQ(version->productVersion, expected);
    const std::map<std::string, std::string> strings = {
        {"CompanyName", ""},
        {"FileDescription", "tavrin21 DLL"},
        {"FileVersion", "1, 0, 0, 1"},
        {"InternalName", "tavrin21"},
        {"LegalTrademarks", ""},
        {"OriginalFilename", "tavrin21.DLL"},
        {"ProductName", "tavrin21 Dynamic Link Library"},
        {"ProductVersion", "1, 0, 0, 1"},
    };
    EXPECT_EQ(version->strings, strings);
}

}  // namespace
}  // namespace tavrin21
