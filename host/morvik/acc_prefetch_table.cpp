#include "host/morvik/prefetch_cache.h"
#include "morvik/morvik.h"

extern "C" MORVIK_API std::int32_t TAVRIN21_CDECL
AccPrefetchTable(std::int32_t selector,
                 const std::string* partNumbers,
                 const std::uint8_t* environmentCodes,
                 std::int32_t count,
                 framework::Database* primaryDb,
                 framework::Database* secondaryDb) {
    if (selector != 0 || count < 0 ||
        (count > 0 && (partNumbers == nullptr || environmentCodes == nullptr))) {
        return 0;
    }
    try {
        std::vector<morvik::TableKey> keys;
        keys.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            keys.push_back({partNumbers[i], environmentCodes[i]});
        }
        return morvik::PrefetchTables(keys, primaryDb, secondaryDb) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
