#include "host/item_calculation.h"

#include "framework/message_box.h"
#include "host/terminal_text.h"

#include <optional>
#include <thread>

namespace tavrin21::host {

namespace {

// The host's verdict over the module's: no number of this item is shown.
void MarkFailed(ItemResult& result,
                std::optional<std::int32_t> status,
                const std::string& message) {
    result.status = status;
    result.message = message;
    result.rate.reset();
    result.shape.reset();
    result.scale.reset();
}

}  // namespace

ItemResult ItemCalculator::CalculateOnce(const ItemInput& input, ItemErrors& errors) const {
    framework::ScopedMessageSink sink([&](const std::string& text, unsigned, unsigned) {
        errors.Add(text);
        return framework::kIdOk;
    });
    ItemRecord record = MakeItemRecord(input);
    PresetResultFields(record);
    char message[kMessageBufferBytes + 1] = {};
    ItemResult result;
    result.input = input;
    const std::int32_t status = module_.calcItem(message, &record, connections_.primary.get(),
                                                 connections_.Secondary(), input.mode);
    TakeModuleResults(result, status, message, record);
    result.moduleFields = columns_.Render(record);
    return result;
}

ItemOutcome ItemCalculator::Calculate(const ItemInput& input) {
    ItemOutcome outcome;
    ItemErrors errors;
    outcome.result = CalculateOnce(input, errors);
    if (errors.ConnectionLost()) {
        outcome.beforeReconnecting = errors.All();
        std::this_thread::sleep_for(reconnectPause_);
        if (prefetch_ != nullptr) {
            prefetch_->Drop();
        }
        outcome.unreachableRole = connections_.ReopenLost();
        if (!outcome.unreachableRole.empty()) {
            outcome.result = NotCalculated(input, outcome.unreachableRole);
            return outcome;
        }
        errors.Clear();
        outcome.result = CalculateOnce(input, errors);
    }
    outcome.errors = errors.All();
    if (!errors.Empty()) {
        MarkFailed(outcome.result, StatusFailed, Printable(errors.All().front().reason));
    }
    return outcome;
}

ItemResult ItemCalculator::NotCalculated(const ItemInput& input, const std::string& role) const {
    ItemRecord record = MakeItemRecord(input);
    ItemResult result;
    result.input = input;
    result.moduleFields = columns_.Render(record);
    MarkFailed(result, std::nullopt, "the " + role + " library is unreachable");
    return result;
}

}  // namespace tavrin21::host
