#include "host/progress_meter.h"

#include <sstream>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

// A batch of `items`, one every `itemTime`, the file read in equal steps, with a problem
// reported before item `problemAt`: all that reaches standard error.
std::string Progress(bool terminal, int items, std::chrono::milliseconds itemTime, int problemAt) {
    std::ostringstream err;
    auto now = std::chrono::steady_clock::time_point{};
    {
        ProgressMeter meter(err, terminal, 100u * items, [&] { return now; });
        for (int i = 1; i <= items; ++i) {
            now += itemTime;
            if (i == problemAt) {
                meter.Errors() << "items.csv:" << i << ": a problem\n";
            }
            meter.ItemDone([&] { return 100u * i; });
        }
    }
    return err.str();
}

TEST(ProgressMeter, ShowsALongBatchOnATerminalAndClearsItForProblems) {
    using std::chrono::milliseconds;
    const std::string clear = "\r" + std::string(35, ' ') + "\r";
    EXPECT_EQ(Progress(true, 999, milliseconds(1), 10), "items.csv:10: a problem\n");
    EXPECT_EQ(Progress(false, 5000, milliseconds(10), 4000), "items.csv:4000: a problem\n");
    EXPECT_EQ(Progress(true, 1001, milliseconds(1), -1),
              "\r1000 items done, 1000 a second, 0:00 left\r" + std::string(41, ' ') + "\r");
    // Slow items: shown from 2 s on, redrawn at most every quarter second.
    EXPECT_EQ(Progress(true, 5, milliseconds(1000), 4),
              "\r2 items done, 1 a second, 0:03 left\r3 items done, 1 a second, 0:02 left" + clear +
                  "items.csv:4: a problem\n\r4 items done, 1 a second, 0:01 left"
                  "\r5 items done, 1 a second, 0:00 left" +
                  clear);
}

}  // namespace
}  // namespace tavrin21::host
