#pragma once

// The suite's securable objects: project operations, the management of users, and the analysis
// modules and libraries, each with the key its permissions are recorded under.

#include <array>
#include <cstddef>
#include <string>

namespace tavrin21 {

inline constexpr const char* kCategoryProject = "_PROJECT";
inline constexpr const char* kCategoryModule = "_MODULE";

struct SecurableObject {
    std::string name;
    std::string description;
    std::string category;
    std::string key;
};

class ObjectCatalogue {
  public:
    static constexpr std::size_t kRows = 24;

    // Builds the rows in order, each row's strings from left to right.
    ObjectCatalogue();

    std::size_t Size() const { return rows_.size(); }
    const SecurableObject& operator[](std::size_t row) const { return rows_[row]; }
    auto begin() const { return rows_.begin(); }
    auto end() const { return rows_.end(); }

  private:
    std::array<SecurableObject, kRows> rows_;
};

}  // namespace tavrin21
