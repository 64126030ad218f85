#include "framework/platform/dynamic_library.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace framework {
namespace {

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

// Exports are found by name; a missing export or file is an error that names what is missing.
TEST(DynamicLibrary, LoadsTheModuleFindsItsExportsAndNamesWhatIsMissing) {
    DynamicLibrary module = DynamicLibrary::Load(TAVRIN21_MODULE_PATH);
    EXPECT_NE(module.FindSymbol("calc_item"), nullptr);
    EXPECT_EQ(module.FindSymbol("NoSuchExport"), nullptr);
    EXPECT_THAT([&] { module.Require<void (*)()>("NoSuchExport"); },
                ThrowsMessage<ModuleLoadError>(HasSubstr("NoSuchExport")));
    EXPECT_THAT([] { DynamicLibrary::Load("/no/such/dir/module.so"); },
                ThrowsMessage<ModuleLoadError>(HasSubstr("/no/such/dir/module.so")));
}

}  // namespace
}  // namespace framework
