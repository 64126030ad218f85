#pragma once

// The kinds of permission the suite grants on its securable objects.

#include <array>
#include <cstddef>
#include <string>

namespace tavrin21 {

struct PermissionKind {
    std::string key;
    std::string text;
};

class PermissionKindTable {
  public:
    static constexpr std::size_t kRows = 3;

    // Builds the rows in order, each row's strings from left to right.
    PermissionKindTable();

    std::size_t Size() const { return rows_.size(); }
    const PermissionKind& operator[](std::size_t row) const { return rows_[row]; }
    auto begin() const { return rows_.begin(); }
    auto end() const { return rows_.end(); }

  private:
    std::array<PermissionKind, kRows> rows_;
};

}  // namespace tavrin21
