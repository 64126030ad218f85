#include "host/item_result.h"

#include <cstdio>
#include <cstring>

namespace tavrin21::host {

std::string CleanMessage(const char* message) {
    std::string text(message, strnlen(message, kMessageBufferBytes));
    if (!text.empty() && text.front() == ' ') {
        text.erase(0, 1);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

std::string SingleText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

}  // namespace tavrin21::host
