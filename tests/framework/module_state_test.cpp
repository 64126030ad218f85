#include "framework/module_state.h"

#include <stdexcept>

#include <gtest/gtest.h>

namespace framework {
namespace {

TEST(ModuleStateGuard, MakesAStateCurrentAndRestoresTheCallersOnEveryWayOut) {
    ModuleState outer("outer");
    ModuleState inner("inner");
    EXPECT_EQ(CurrentModuleState(), ProcessModuleState());
    {
        ModuleStateGuard first(&outer);
        EXPECT_EQ(CurrentModuleState(), &outer);
        try {
            ModuleStateGuard second(&inner);
            EXPECT_EQ(CurrentModuleState(), &inner);
            throw std::runtime_error("leave early");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(CurrentModuleState(), &outer);
    }
    EXPECT_EQ(CurrentModuleState(), ProcessModuleState());
}

}  // namespace
}  // namespace framework
