// A seeded sweep over every kind of double, width and decimals: the field always holds exactly
// its width, the status is a known one, and the text says what the status claims.

#include "format/fixed_width.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

constexpr int kSweepCalls = 1'000'000;
constexpr std::uint64_t kSeed = 20240611;
constexpr char kGuard = '#';

const double kSpecialValues[] = {0.0,
                                 -0.0,
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN(),
                                 -std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::denorm_min(),
                                 -std::numeric_limits<double>::min(),
                                 std::numeric_limits<double>::max(),
                                 3.4028234663852886e38,
                                 std::nextafter(3.4028234663852886e38, 0.0),
                                 -std::nextafter(3.4028234663852886e38, 0.0),
                                 0.5,
                                 0.125,
                                 -0.125,
                                 99.995,
                                 9.5,
                                 1e-5,
                                 123456789.0};

double DrawValue(std::mt19937_64& random) {
    switch (random() % 4) {
        case 0:  // any bit pattern: NaNs, infinities, subnormals, huge values
            return std::bit_cast<double>(random());
        case 1:
            return kSpecialValues[random() % std::size(kSpecialValues)];
        default: {  // the magnitudes a column shows, and a little beyond
            std::uniform_real_distribution<double> mantissa(1.0, 10.0);
            std::uniform_int_distribution<int> exponent(-25, 40);
            const double sign = random() % 2 == 0 ? 1.0 : -1.0;
            return sign * mantissa(random) * std::pow(10.0, exponent(random));
        }
    }
}

bool IsPrefixOf(const std::string& text, const char* word) {
    return std::string(word).starts_with(text);
}

std::string Trimmed(const std::string& field) {
    const auto first = field.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return field.substr(first, field.find_last_not_of(' ') - first + 1);
}

int DigitsAfter(const std::string& text, char mark) {
    const auto point = text.find('.');
    if (point == std::string::npos) {
        return 0;
    }
    const auto end = mark == '\0' ? text.size() : text.find(mark);
    return static_cast<int>(end - point - 1);
}

// What the text must look like for the status it came with; empty when it does.
// Reads the pattern of a number text: an optional '-', then digits and marks as asked.
class Scanner {
  public:
    explicit Scanner(const std::string& text) : text_(text) {}
    bool Sign() { return Take('-') || true; }
    bool Take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool TakeEither(char a, char b) { return Take(a) || Take(b); }
    // At least `least` digits, at most `most`.
    bool Digits(std::size_t least, std::size_t most = std::string::npos) {
        std::size_t count = 0;
        while (at_ < text_.size() && count < most && text_[at_] >= '0' && text_[at_] <= '9') {
            ++at_;
            ++count;
        }
        return count >= least;
    }
    bool AtEnd() const { return at_ == text_.size(); }

  private:
    const std::string& text_;
    std::size_t at_ = 0;
};

bool IsFixedForm(const std::string& text) {
    Scanner scan(text);
    return scan.Sign() && scan.Digits(1) && (!scan.Take('.') || scan.Digits(1)) && scan.AtEnd();
}

// d.dddE+ddd: one digit before the point, a signed exponent of exactly three digits.
bool IsExponentForm(const std::string& text) {
    Scanner scan(text);
    return scan.Sign() && scan.Digits(1, 1) && scan.Take('.') && scan.Digits(1) && scan.Take('E') &&
           scan.TakeEither('+', '-') && scan.Digits(3, 3) && scan.AtEnd();
}

// `decimals` is what the caller asked for; the rounding works at that many decimals, capped at 19
// and at what the width leaves, even where printf shows its default six.
std::string CheckText(
    const std::string& text, std::int32_t status, double value, int width, int decimals) {
    const double slack = 8 * std::numeric_limits<double>::epsilon() * std::fabs(value);
    switch (status) {
        case FormatFixed:
        case FormatDecimalsCapped:
        case FormatDecimalsFitted: {
            if (!IsFixedForm(text)) {
                return "not a fixed-notation number";
            }
            const int sign = value < 0.0 ? 1 : 0;
            const int rounding = std::min({decimals, 19, width - sign - 2});
            if (rounding >= 0 && DigitsAfter(text, '\0') != rounding) {
                return "fixed text does not show the decimals";
            }
            const double halfUnit = 0.5 * std::pow(10.0, -rounding);
            if (std::fabs(std::strtod(text.c_str(), nullptr) - value) >
                halfUnit * 1.000001 + slack) {
                return "fixed text is not the value rounded";
            }
            return {};
        }
        case FormatZero:
            if (std::isnan(value)) {
                return IsPrefixOf(text, "NaN") ? "" : "NaN word expected";
            }
            return value == 0.0 && std::strtod(text.c_str(), nullptr) == 0.0 ? "" : "zero expected";
        case FormatExponentSmall:
        case FormatExponentLarge: {
            if (!IsExponentForm(text)) {
                return "not an exponent-notation number";
            }
            const int sign = value < 0.0 ? 1 : 0;
            if (width <= sign + 13 && static_cast<int>(text.size()) != width) {
                return "exponent form does not fill the width";
            }
            const int exponent = std::atoi(text.c_str() + text.find('E') + 1);
            const double halfUnit = 0.5 * std::pow(10.0, exponent - DigitsAfter(text, 'E'));
            if (std::fabs(std::strtod(text.c_str(), nullptr) - value) > halfUnit * 1.000001) {
                return "exponent text is not the value rounded";
            }
            return {};
        }
        case FormatOverflowWord:
            return IsPrefixOf(text, "Overflow") ? "" : "Overflow word expected";
        case FormatUnderflowWord:
            return IsPrefixOf(text, "Underflow") ? "" : "Underflow word expected";
        case FormatTooLarge:
            return std::fabs(value) >= 3.4028234663852886e38 && IsPrefixOf(text, "---")
                       ? ""
                       : "--- expected for a value too large only";
        case FormatError:
            return IsPrefixOf(text, "ERROR") ? "" : "ERROR word expected";
        default:
            return "unknown status";
    }
}

TEST(FormatFixedWidthSweep, EveryFieldHasItsWidthAndATextThatMatchesItsStatus) {
    std::mt19937_64 random(kSeed);
    std::uniform_int_distribution<int> widths(0, 60);
    std::uniform_int_distribution<int> decimalCounts(-5, 30);
    const std::int32_t justifications[] = {0, 1, 2, -1};
    std::vector<char> buffer;
    int failures = 0;
    for (int call = 0; call < kSweepCalls && failures < 10; ++call) {
        const int width = widths(random);
        const int decimals = decimalCounts(random);
        const double value = DrawValue(random);
        const std::int32_t justify = justifications[random() % 4];
        buffer.assign(static_cast<std::size_t>(width) + 1 + 4, kGuard);

        const std::int32_t status =
            FormatFixedWidth(buffer.data(), width, decimals, value, justify);

        const std::string field(buffer.data(), static_cast<std::size_t>(width));
        std::string problem;
        if (field.find('\0') != std::string::npos || buffer[width] != '\0' ||
            std::any_of(buffer.begin() + width + 1, buffer.end(),
                        [](char c) { return c != kGuard; })) {
            problem = "field is not exactly width characters and a NUL";
        } else if (width > 0 && justify == 1 && field.front() == ' ') {
            problem = "left-justified field starts with a blank";
        } else if (width > 0 && justify != 1 && field.back() == ' ') {
            problem = "right-justified field ends with a blank";
        } else {
            problem = CheckText(Trimmed(field), status, value, width, decimals);
        }
        if (!problem.empty()) {
            ++failures;
            ADD_FAILURE() << problem << ": value " << std::hexfloat << value << std::defaultfloat
                          << " (" << value << ") width " << width << " decimals " << decimals
                          << " justify " << justify << " -> \"" << field << "\" status " << status;
        }
    }
    EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace tavrin21
