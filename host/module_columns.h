#pragma once

// The module's own columns in the item views: which fields, how wide, their title lines, and
// each item's texts, all asked of the module as a host asks.

#include "host/module_api.h"

#include <string>
#include <vector>

namespace tavrin21::host {

struct ModuleColumn {
    int field = 0;
    int length = 0;
    std::vector<std::string> titleLines;
};

class ModuleColumns {
  public:
    // Asks the module for its fields. A module without view-field exports has no columns.
    // Throws std::runtime_error when the module answers with a bad status.
    explicit ModuleColumns(const ViewFieldExports& exports, int view = 0);

    const std::vector<ModuleColumn>& Columns() const { return columns_; }
    int TitleLineCount() const { return titleLines_; }

    // The texts of `item` in each column, cut to the column's length.
    std::vector<std::string> Render(ItemRecord& item) const;

  private:
    ViewFieldExports exports_;
    int view_ = 0;
    int titleLines_ = 0;
    std::vector<ModuleColumn> columns_;
};

}  // namespace tavrin21::host
