#include "framework/message_box.h"

#include <gtest/gtest.h>

namespace framework {
namespace {

struct Shown {
    std::string text;
    unsigned type = 99;
    unsigned help = 99;
    int count = 0;
};

TEST(MessageBox, GoesToTheInstalledSinkAndTheScopeRestoresThePrevious) {
    Shown outer, inner;
    ScopedMessageSink outerSink([&](const std::string& t, unsigned type, unsigned help) {
        outer = {t, type, help, outer.count + 1};
        return kIdOk;
    });
    {
        ScopedMessageSink innerSink([&](const std::string& t, unsigned, unsigned) {
            inner.text = t;
            ++inner.count;
            return 2;
        });
        EXPECT_EQ(MessageBox("first\nsecond", 0, 16), 2);
    }
    EXPECT_EQ(MessageBox("again", 0, 16), kIdOk);
    EXPECT_EQ(inner.count, 1);
    EXPECT_EQ(inner.text, "first\nsecond");
    EXPECT_EQ(outer.count, 1);
    EXPECT_EQ(outer.text, "again");
    EXPECT_EQ(outer.help, 16u);
}

TEST(MessageBox, WritesOneLineToStandardErrorByDefault) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox("Error!\nODBC text\nSELECT 1"), kIdOk);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error! ODBC text SELECT 1\n");
}

}  // namespace
}  // namespace framework
