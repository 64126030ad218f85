#include "framework/database.h"
#include "framework/db_exception.h"
#include "framework/message_box.h"
#include "host/morvik/prefetch_cache.h"
#include "morvik/morvik.h"
#include "tavrin21/help_context.h"

#include <cstring>
#include <variant>

namespace {

void ShowUnusableTable(const std::string& partNumber,
                       std::uint8_t environmentCode,
                       const morvik::UnusableTable& error) {
    framework::MessageBox("Unusable failure-rate table!\npart " + partNumber + ", environment " +
                              std::to_string(environmentCode) + ": " + error.what(),
                          framework::kMessageBoxOk, tavrin21::kHelpContextDatabaseError);
}

// A prefetched answer as the lookup gives it: the rates, nothing, or UnusableTable thrown, so
// that the item's own lookup shows it.
std::optional<morvik::TabledRates> Answered(const morvik::PrefetchedAnswer& answer) {
    if (const auto* unusable = std::get_if<morvik::UnusableTable>(&answer)) {
        throw *unusable;
    }
    if (const auto* rates = std::get_if<morvik::TabledRates>(&answer)) {
        return *rates;
    }
    return std::nullopt;
}

std::optional<morvik::TabledRates> LookUpOn(framework::Database* database,
                                            const std::string& partNumber,
                                            std::uint8_t environmentCode) {
    if (database == nullptr || !database->IsOpen()) {
        return std::nullopt;
    }
    try {
        if (const auto answer = morvik::FindPrefetched(*database, partNumber, environmentCode)) {
            return Answered(*answer);
        }
        return morvik::LookUpTabledRates(*database, partNumber, environmentCode);
    } catch (const framework::DbException& error) {
        // What was prefetched before may no longer hold once the connection fails.
        morvik::DropPrefetched(*database);
        // The caller only learns "not found"; the user must learn why.
        framework::MessageBox("Error reading the failure-rate table!\n" + error.ErrorText() + "\n" +
                                  error.Statement(),
                              framework::kMessageBoxOk, tavrin21::kHelpContextDatabaseError);
        return std::nullopt;
    } catch (const morvik::UnusableTable& error) {
        ShowUnusableTable(partNumber, environmentCode, error);
        return std::nullopt;
    }
}

void Fill(tavrin21::TabledRateRecord& record, const morvik::TabledRates& rates) {
    std::memcpy(record.Points, rates.points, sizeof record.Points);
    record.MinTemperature = rates.minTemperature;
    record.MaxTemperature = rates.maxTemperature;
}

}  // namespace

extern "C" MORVIK_API std::int32_t TAVRIN21_CDECL
AccGetFromTable(std::int32_t selector,
                const std::string* partNumber,
                tavrin21::TabledRateRecord* record,
                framework::Database* primaryDb,
                framework::Database* secondaryDb) {
    if (selector != 0 || partNumber == nullptr || record == nullptr) {
        return 0;
    }
    try {
        const std::uint8_t environmentCode = record->EnvironmentCode;
        auto rates = LookUpOn(primaryDb, *partNumber, environmentCode);
        if (!rates && secondaryDb != primaryDb) {
            rates = LookUpOn(secondaryDb, *partNumber, environmentCode);
        }
        if (!rates) {
            return 0;
        }
        Fill(*record, *rates);
        return 1;
    } catch (...) {
        return 0;
    }
}
