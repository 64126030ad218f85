#pragma once

// Reading the failure-rate tables of the next items ahead, in a few round trips, through the
// host library the module imports (AccPrefetchTable). The module's own lookups are then answered
// from what was read; without the host library or its export, nothing is read ahead and every
// lookup queries as before.

#include "framework/platform/dynamic_library.h"
#include "host/connection.h"
#include "host/item_input.h"
#include "morvik/morvik.h"

#include <optional>
#include <string>
#include <vector>

namespace tavrin21::host {

class TablePrefetch {
  public:
    // The host library beside the module at `modulePath`, which is the one the module loaded.
    TablePrefetch(const std::string& modulePath, const Connections& connections);
    ~TablePrefetch();
    TablePrefetch(const TablePrefetch&) = delete;
    TablePrefetch& operator=(const TablePrefetch&) = delete;

    bool Available() const { return prefetch_ != nullptr; }

    // Reads the tables of the table-method items among `items`, replacing what was read before.
    void Prefetch(const std::vector<const ItemInput*>& items);

    // Forgets what was read: before a connection is reopened, and before the connections close.
    void Drop();

  private:
    std::optional<framework::DynamicLibrary> library_;
    AccPrefetchTableFn prefetch_ = nullptr;
    const Connections& connections_;
};

}  // namespace tavrin21::host
