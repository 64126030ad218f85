#include "host/module_columns.h"

#include <stdexcept>

namespace tavrin21::host {

namespace {

// Text buffers handed to the module: larger than any field it writes.
constexpr std::size_t kFieldBufferBytes = 256;
constexpr int kMaxFields = 64;

void Check(std::int32_t status, const std::string& what) {
    if (status != StatusOk) {
        throw std::runtime_error("the module refused " + what + " (status " +
                                 std::to_string(status) + ")");
    }
}

}  // namespace

ModuleColumns::ModuleColumns(const ViewFieldExports& exports, int view)
    : exports_(exports), view_(view) {
    if (!exports_.Complete()) {
        return;
    }
    std::int32_t count = 0;
    std::int32_t fields[kMaxFields] = {};
    Check(exports_.getViewFields(nullptr, nullptr, view_, &count, fields), "GetViewFields");
    if (count < 0 || count > kMaxFields) {
        throw std::runtime_error("the module offers " + std::to_string(count) + " view fields");
    }
    std::int32_t titleLines = 0;
    Check(exports_.getTitleLinesCount(nullptr, nullptr, &titleLines), "GetTitleLinesCount");
    titleLines_ = titleLines;

    for (int i = 0; i < count; ++i) {
        ModuleColumn column;
        column.field = fields[i];
        std::int32_t length = 0;
        Check(exports_.getFieldLength(nullptr, nullptr, column.field, view_, &length),
              "GetFieldLength of field " + std::to_string(column.field));
        column.length = length;
        for (int line = 1; line <= titleLines_; ++line) {
            char title[kFieldBufferBytes] = {};
            Check(exports_.getFieldTitle(nullptr, nullptr, column.field, view_, title, line),
                  "GetFieldTitle of field " + std::to_string(column.field));
            column.titleLines.emplace_back(title);
        }
        columns_.push_back(std::move(column));
    }
}

std::vector<std::string> ModuleColumns::Render(ItemRecord& item) const {
    std::vector<std::string> texts;
    for (const ModuleColumn& column : columns_) {
        char text[kFieldBufferBytes] = {};
        const std::int32_t status =
            exports_.getField(nullptr, nullptr, column.field, view_, text, &item);
        // The host shows a field's declared length; what the module writes past it is its own.
        std::string shown = status == StatusOk ? std::string(text) : std::string("?");
        shown.resize(static_cast<std::size_t>(column.length), ' ');
        texts.push_back(std::move(shown));
    }
    return texts;
}

}  // namespace tavrin21::host
