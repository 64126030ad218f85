// libFuzzer entry for FormatFixedWidth: any double, width, decimals and justification. The
// destination is allocated at exactly width + 1 bytes, so AddressSanitizer sees any write past
// the NUL; the field must hold exactly width characters and the status must be a known one.

#include "format/fixed_width.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// Widths beyond this add nothing but allocation time.
constexpr std::int32_t kMaxFuzzedWidth = 4096;

struct Input {
    double value;
    std::int32_t width;
    std::int32_t decimals;
    std::int32_t justify;
};
constexpr std::size_t kInputBytes = 8 + 4 + 4 + 1;

Input Decode(const std::uint8_t* data) {
    Input input{};
    std::memcpy(&input.value, data, 8);
    std::memcpy(&input.width, data + 8, 4);
    std::memcpy(&input.decimals, data + 12, 4);
    input.justify = static_cast<std::int8_t>(data[16]);
    if (input.width > kMaxFuzzedWidth) {
        input.width %= kMaxFuzzedWidth + 1;
    }
    return input;
}

bool IsKnownStatus(std::int32_t status) {
    return status >= tavrin21::FormatError && status <= tavrin21::FormatTooLarge;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kInputBytes) {
        return 0;
    }
    const Input input = Decode(data);
    // A negative width writes only the NUL at dest[0].
    const std::size_t field = input.width > 0 ? static_cast<std::size_t>(input.width) : 0;
    const auto dest = std::make_unique<char[]>(field + 1);
    std::memset(dest.get(), 'x', field + 1);

    const std::int32_t status = tavrin21::FormatFixedWidth(dest.get(), input.width, input.decimals,
                                                           input.value, input.justify);

    if (std::strlen(dest.get()) != field || !IsKnownStatus(status)) {
        std::abort();
    }
    return 0;
}
