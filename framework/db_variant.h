#pragma once

namespace framework {

// A column value fetched as a double, or NULL.
struct DbVariant {
    bool isNull = true;
    double value = 0.0;

    static DbVariant Null() { return {}; }
    static DbVariant Of(double number) { return {false, number}; }
};

}  // namespace framework
