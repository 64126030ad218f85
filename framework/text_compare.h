#pragma once

#include <algorithm>
#include <cctype>
#include <string_view>

namespace framework {

// ASCII comparison without regard to case, as ODBC treats keys and servers may fold names.
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace framework
