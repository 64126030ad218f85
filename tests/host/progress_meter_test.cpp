#include "host/progress_meter.h"

#include <sstream>

#include <gtest/gtest.h>

namespace tavrin21::host {
namespace {

using std::chrono::milliseconds;

// The batch as the meter sees it: an item every `itemTime`, the file read in equal steps.
std::string Progress(bool terminal, int items, milliseconds itemTime, int problemAt = -1) {
    std::ostringstream err;
    auto now = std::chrono::steady_clock::time_point{};
    {
        ProgressMeter meter(err, terminal, 100u * static_cast<unsigned>(items),
                            [&] { return now; });
        for (int i = 1; i <= items; ++i) {
            now += itemTime;
            if (i == problemAt) {
                meter.Errors() << "items.csv:" << i << ": a problem\n";
            }
            meter.ItemDone([&] { return 100u * static_cast<unsigned>(i); });
        }
    }
    return err.str();
}

TEST(ProgressMeter, ShowsALongBatchOnATerminalOnly) {
    const std::string redraw = "\r", clear = "\r\x1b[K";
    const struct {
        const char* name;
        bool terminal;
        int items;
        milliseconds itemTime;
        int problemAt;
        std::string expected;  // the whole of standard error
    } rows[] = {
        {"short batch", true, 999, milliseconds(1), 10, "items.csv:10: a problem\n"},
        {"not a terminal", false, 5000, milliseconds(10), 4000, "items.csv:4000: a problem\n"},
        {"many items", true, 1001, milliseconds(1), -1,
         "\r1000 items done, 1000 a second, 0:00 left\x1b[K" + clear},
        {"slow items, redrawn every quarter second, cleared for a problem", true, 6,
         milliseconds(1000), 5,
         "\r2 items done, 1 a second, 0:04 left\x1b[K\r3 items done, 1 a second, 0:03 left\x1b[K"
         "\r4 items done, 1 a second, 0:02 left\x1b[K" +
             clear +
             "items.csv:5: a problem\n"
             "\r5 items done, 1 a second, 0:01 left\x1b[K\r6 items done, 1 a second, 0:00 "
             "left\x1b[K" +
             clear},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Progress(row.terminal, row.items, row.itemTime, row.problemAt), row.expected);
    }
}

}  // namespace
}  // namespace tavrin21::host
