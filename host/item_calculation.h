#pragma once

// One item calculated by the module, with the database errors it hit and, when its connection
// was lost, one reconnection and a second try.

#include "host/connection.h"
#include "host/item_errors.h"
#include "host/item_result.h"
#include "host/module_api.h"
#include "host/module_columns.h"
#include "host/table_prefetch.h"

#include <chrono>
#include <string>
#include <vector>

namespace tavrin21::host {

struct ItemOutcome {
    ItemResult result;
    // The errors of the first try when the item was calculated again after a reconnection.
    std::vector<ItemError> beforeReconnecting;
    std::vector<ItemError> errors;  // those of the try that counts
    std::string unreachableRole;    // "primary" or "secondary" when it could not be reconnected
};

class ItemCalculator {
  public:
    ItemCalculator(const ModuleApi& module,
                   const ModuleColumns& columns,
                   Connections& connections,
                   std::chrono::milliseconds reconnectPause,
                   TablePrefetch* prefetch = nullptr)
        : module_(module),
          columns_(columns),
          connections_(connections),
          reconnectPause_(reconnectPause),
          prefetch_(prefetch) {}

    // Calculates `input`. An item that hit a database or library error is failed with the first
    // error's reason, whatever the module made of it.
    ItemOutcome Calculate(const ItemInput& input);

    // What an item becomes once a library is unreachable: failed, not calculated.
    ItemResult NotCalculated(const ItemInput& input, const std::string& role) const;

  private:
    ItemResult CalculateOnce(const ItemInput& input, ItemErrors& errors) const;

    const ModuleApi& module_;
    const ModuleColumns& columns_;
    Connections& connections_;
    std::chrono::milliseconds reconnectPause_;
    TablePrefetch* prefetch_;  // what it read ahead is dropped when a connection is reopened
};

}  // namespace tavrin21::host
