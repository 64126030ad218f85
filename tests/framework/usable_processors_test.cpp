#include "framework/platform/usable_processors.h"

#include <cstdlib>
#include <thread>

#include <gtest/gtest.h>

namespace {

TEST(QuotaProcessorsTest, GivesTheWholeProcessorsAQuotaPaysFor) {
    struct Row {
        const char* quota;
        const char* period;
        int processors;
    };
    const Row rows[] = {
        {"100000", "100000", 1},  {"150000", "100000", 1},  {"200000", "100000", 2},
        {"50000", "100000", 1},   {"800000", "100000", 8},  {"max", "100000", 0},
        {"-1", "100000", 0},      {"100000", "0", 0},       {"", "", 0},
        {"100000x", "100000", 0}, {"100000", " 100000", 0}, {"99999999999999999999", "1", 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(framework::QuotaProcessors(row.quota, row.period), row.processors)
            << row.quota << " / " << row.period;
    }
}

// Run once as it is and once held to one processor, which TAVRIN21_EXPECTED_PROCESSORS says.
TEST(UsableProcessorsTest, IsAtLeastOneAndNoMoreThanTheMachineHasOrTheProcessIsHeldTo) {
    const int usable = framework::UsableProcessors();
    EXPECT_GE(usable, 1);
    if (const unsigned machine = std::thread::hardware_concurrency(); machine > 0) {
        EXPECT_LE(usable, static_cast<int>(machine));
    }
    if (const char* expected = std::getenv("TAVRIN21_EXPECTED_PROCESSORS")) {
        EXPECT_EQ(usable, std::atoi(expected));
    }
}

}  // namespace
