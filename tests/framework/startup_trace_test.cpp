#include "framework/startup_trace.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace framework {
namespace {

using Events = std::vector<std::string>;

struct Noisy {
    explicit Noisy(int value) : value(value) { TraceStartupEvent("Noisy built"); }
    ~Noisy() { TraceStartupEvent("Noisy destroyed"); }
    int value;
};

TEST(LoadTimeObject, ReportsOnceTheObjectIsBuiltAndBeforeItIsDestroyed) {
    ClearStartupTrace();
    {
        LoadTimeObject<Noisy> object("noisy", 7);
        EXPECT_EQ(object.value, 7);
        EXPECT_EQ(StartupTrace(), (Events{"Noisy built", "build noisy"}));
    }
    EXPECT_EQ(StartupTrace(),
              (Events{"Noisy built", "build noisy", "destroy noisy", "Noisy destroyed"}));
}

TEST(StartupTrace, KeepsTheLatestEventsWhenItGrowsLong) {
    ClearStartupTrace();
    for (int i = 0; i < 10000; ++i) {
        TraceStartupEvent(std::to_string(i));
    }
    const Events events = StartupTrace();
    ASSERT_FALSE(events.empty());
    EXPECT_LE(events.size(), 4096u);
    EXPECT_EQ(events.back(), "9999");
    // What is kept runs without gaps up to the latest event.
    const int first = std::stoi(events.front());
    for (std::size_t i = 0; i < events.size(); ++i) {
        ASSERT_EQ(events[i], std::to_string(first + static_cast<int>(i)));
    }
    ClearStartupTrace();
    EXPECT_TRUE(StartupTrace().empty());
}

}  // namespace
}  // namespace framework
