#include "host/table_prefetch.h"

#include <cstring>
#include <filesystem>

namespace tavrin21::host {

namespace {

// The key as the module hands it to the host library: the part number as its record holds it
// (cut at kPartNumberMaxLength or a NUL), and the environment code.
void AddKey(const ItemInput& item,
            std::vector<std::string>& partNumbers,
            std::vector<std::uint8_t>& environmentCodes) {
    const ItemRecord record = MakeItemRecord(item);
    const std::size_t length = strnlen(record.PartNumber, kPartNumberMaxLength);
    if (length == 0) {
        return;  // refused by the module before any lookup
    }
    partNumbers.emplace_back(record.PartNumber, length);
    environmentCodes.push_back(record.EnvironmentCode);
}

}  // namespace

TablePrefetch::TablePrefetch(const std::string& modulePath, const Connections& connections)
    : connections_(connections) {
    const std::filesystem::path path =
        std::filesystem::path(modulePath).parent_path() / TAVRIN21_MORVIK_FILE_NAME;
    try {
        library_.emplace(framework::DynamicLibrary::Load(path.string()));
        prefetch_ = reinterpret_cast<AccPrefetchTableFn>(library_->FindSymbol("AccPrefetchTable"));
    } catch (const framework::ModuleLoadError&) {
        // Nothing is read ahead; the module's lookups query item by item.
    }
}

TablePrefetch::~TablePrefetch() {
    Drop();
}

void TablePrefetch::Prefetch(const std::vector<const ItemInput*>& items) {
    if (prefetch_ == nullptr) {
        return;
    }
    std::vector<std::string> partNumbers;
    std::vector<std::uint8_t> environmentCodes;
    for (const ItemInput* item : items) {
        if (item->mode != kFieldDataMode) {
            AddKey(*item, partNumbers, environmentCodes);
        }
    }
    // A failed prefetch loses nothing: the lookups it could not serve query and report.
    prefetch_(0, partNumbers.data(), environmentCodes.data(),
              static_cast<std::int32_t>(partNumbers.size()), connections_.primary.get(),
              connections_.Secondary());
}

void TablePrefetch::Drop() {
    if (prefetch_ != nullptr) {
        prefetch_(0, nullptr, nullptr, 0, connections_.primary.get(), connections_.Secondary());
    }
}

}  // namespace tavrin21::host
