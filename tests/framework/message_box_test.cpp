#include "framework/message_box.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

TEST(MessageBox, WritesOneLineToStandardErrorByDefault) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox("Error!\nODBC text\nSELECT 1"), kIdOk);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error! ODBC text SELECT 1\n");
}

}  // namespace
}  // namespace framework
