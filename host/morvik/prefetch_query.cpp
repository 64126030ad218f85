#include "host/morvik/prefetch_query.h"

namespace morvik {

const std::string& PrefetchQuery() {
    static const std::string query = PrefetchQueryText();
    return query;
}

std::vector<framework::SqlParameter> PrefetchParameters(const std::vector<TableKey>& keys,
                                                        std::size_t first,
                                                        std::size_t count) {
    std::vector<framework::SqlParameter> parameters;
    parameters.reserve(4 * kPrefetchChunkKeys);
    for (std::size_t i = 0; i < kPrefetchChunkKeys; ++i) {
        const TableKey& key = keys[first + (i < count ? i : count - 1)];
        const auto environment = static_cast<long>(key.environmentCode);
        parameters.insert(parameters.end(),
                          {key.partNumber, environment, key.partNumber, environment});
    }
    return parameters;
}

}  // namespace morvik
