#include "calc/calc_item.h"

#include "calc/field_data_method.h"
#include "calc/table_method.h"
#include "morvik/morvik.h"

#include <cstring>
#include <string>

namespace tavrin21 {

namespace {

// Filled with the key by each table-method call and with the points by the host library.
TabledRateRecord& ModuleTabledRateRecord() {
    static TabledRateRecord record{};
    return record;
}

Status TableMethodForItem(char* message,
                          ItemRecord& item,
                          framework::Database* primaryDb,
                          framework::Database* secondaryDb) {
    TabledRateRecord& record = ModuleTabledRateRecord();
    const std::string partNumber(record.PartNumber);
    if (AccGetFromTable(0, &partNumber, &record, primaryDb, secondaryDb) != 1) {
        WriteMessage(message, kMessageNoTableData);
        return StatusFailed;
    }
    const TableMethodOutcome outcome =
        TableMethod(record, item.Temperature, InterpolationVariant(item.MethodCode));
    if (outcome.message != nullptr) {
        WriteMessage(message, outcome.message);
    }
    if (outcome.rate) {
        item.ResultRate = *outcome.rate;
    }
    return outcome.status;
}

}  // namespace

std::string_view ItemPartNumber(const ItemRecord& item) {
    const void* nul = std::memchr(item.PartNumber, '\0', kPartNumberMaxLength);
    const std::size_t length =
        nul == nullptr ? kPartNumberMaxLength
                       : static_cast<std::size_t>(static_cast<const char*>(nul) - item.PartNumber);
    return {item.PartNumber, length};
}

void WriteMessage(char* message, const char* text) {
    if (message != nullptr) {
        std::memcpy(message, text, std::strlen(text) + 1);
    }
}

Status CalcItem(char* message,
                ItemRecord& item,
                framework::Database* primaryDb,
                framework::Database* secondaryDb,
                std::uint8_t mode) {
    item.ResultAux1 = 1.0f;
    item.ResultAux2 = 0;
    if (item.PartNumber[0] == '\0') {
        WriteMessage(message, kMessageItemWithoutPartName);
        return StatusFailed;
    }

    TabledRateRecord& record = ModuleTabledRateRecord();
    const std::string_view partNumber = ItemPartNumber(item);
    std::memcpy(record.PartNumber, partNumber.data(), partNumber.size());
    record.PartNumber[partNumber.size()] = '\0';
    record.EnvironmentCode = item.EnvironmentCode;

    if (mode == kModeFieldData) {
        return FieldDataMethod(message, item, primaryDb, secondaryDb);
    }
    return TableMethodForItem(message, item, primaryDb, secondaryDb);
}

}  // namespace tavrin21
