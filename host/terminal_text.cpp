#include "host/terminal_text.h"

#include <cstdio>

namespace tavrin21::host {

namespace {

std::string HexEscape(unsigned char c) {
    char text[5];
    std::snprintf(text, sizeof text, "\\x%02x", c);
    return text;
}

std::string Escaped(std::string_view text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c < 0x20 || c == 0x7f) {
            shown += HexEscape(c);
        } else if (c == 0xc2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9f) {
            // U+0080 to U+009F: the eight-bit controls, which some terminals obey too.
            shown += HexEscape(c) + HexEscape(static_cast<unsigned char>(text[++i]));
        } else {
            shown += text[i];
        }
    }
    return shown;
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

}  // namespace

std::string Printable(std::string_view text, std::size_t maxBytes) {
    std::string shown = Escaped(text);
    if (shown.size() <= maxBytes) {
        return shown;
    }
    std::size_t cut = maxBytes;
    while (cut > 0 && IsContinuationByte(shown[cut])) {
        --cut;
    }
    shown.resize(cut);
    return shown + "...";
}

std::size_t ShownWidth(std::string_view text) {
    std::size_t width = 0;
    for (const char c : text) {
        width += IsContinuationByte(c) ? 0 : 1;
    }
    return width;
}

}  // namespace tavrin21::host
