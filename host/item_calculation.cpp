#include "host/item_calculation.h"

#include <thread>

#include "framework/message_box.h"
#include "host/terminal_text.h"

namespace tavrin21::host {

namespace {

void MarkFailed(ItemResult& result, const std::string& message) {
    result.status = StatusFailed;
    result.message = message;
    result.resultRate = 0.0f;
    result.resultScale = 0.0f;
}

}  // namespace

ItemResult ItemCalculator::CalculateOnce(const ItemInput& input, ItemErrors& errors) const {
    framework::ScopedMessageSink sink([&](const std::string& text, unsigned, unsigned) {
        errors.Add(text);
        return framework::kIdOk;
    });
    ItemRecord record = MakeItemRecord(input);
    char message[kMessageBufferBytes + 1] = {};
    ItemResult result;
    result.input = input;
    result.status = module_.calcItem(message, &record, connections_.primary.get(),
                                     connections_.Secondary(), input.mode);
    result.message = CleanMessage(message);
    result.resultRate = record.ResultRate;
    result.resultScale = record.ResultScale;
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
        MarkFailed(outcome.result, Printable(errors.All().front().reason));
    }
    return outcome;
}

ItemResult ItemCalculator::NotCalculated(const ItemInput& input, const std::string& role) const {
    ItemRecord record = MakeItemRecord(input);
    ItemResult result;
    result.input = input;
    result.moduleFields = columns_.Render(record);
    MarkFailed(result, "not calculated: the " + role + " library is unreachable");
    return result;
}

}  // namespace tavrin21::host
