#include "framework/platform/dynamic_library.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

TEST(DynamicLibrary, LoadsTheModuleAndFindsItsExportsByName) {
    DynamicLibrary module = DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    EXPECT_NE(module.FindSymbol("calc_item"), nullptr);
    EXPECT_EQ(module.FindSymbol("NoSuchExport"), nullptr);
    try {
        module.Require<void (*)()>("NoSuchExport");
        FAIL();
    } catch (const ModuleLoadError& error) {
        EXPECT_NE(std::string(error.what()).find("NoSuchExport"), std::string::npos);
    }
}

TEST(DynamicLibrary, MissingFileIsAClearError) {
    try {
        DynamicLibrary::Load("/no/such/dir/module.so");
        FAIL();
    } catch (const ModuleLoadError& error) {
        EXPECT_NE(std::string(error.what()).find("/no/such/dir/module.so"), std::string::npos);
    }
}

}  // namespace
}  // namespace framework
