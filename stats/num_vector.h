#pragma once

#include <cstdint>
#include <memory>

namespace tavrin21 {

// How a NumVector holds its elements.
enum class StorageTag : char {
    None = 'n',    // no storage: size -1, data null
    Owning = 'v',  // a heap array the vector allocated and releases
    View = 'r',    // a caller's array the vector only looks at and never releases
};

// A vector of doubles that either owns its elements or looks at an array of its caller.
// Indices are not checked: callers stay within the size they set.
class NumVector {
  public:
    NumVector() = default;
    explicit NumVector(std::int32_t n);
    NumVector(const NumVector&) = delete;
    NumVector& operator=(const NumVector&) = delete;
    virtual ~NumVector();

    // An owning array of n doubles, zeroed when `zero` is set. Storage held before is released
    // first, so a careless caller cannot leak it. A negative n leaves the vector empty.
    void Allocate(std::int32_t n, bool zero);
    // n zeros; the old contents are always lost, also when the size stays the same.
    void Resize(std::int32_t n);
    // Releases owned storage, drops a view; the vector ends empty (size -1).
    void Clear();
    // A deep copy of `source`: afterwards this vector owns an array of the source's size holding
    // its values. Owned storage of the right size is reused; a view becomes owning and the array
    // it looked at is left untouched. A source without storage leaves this vector empty.
    void Assign(const NumVector& source);
    // Looks at the caller's `n` doubles at `data`, releasing owned storage first.
    void Refer(double* data, std::int32_t n);
    void Fill(double value);

    double Get(std::int32_t i) const { return data_[i]; }
    void Set(std::int32_t i, double value) { data_[i] = value; }
    double& operator[](std::int32_t i) { return data_[i]; }
    double operator[](std::int32_t i) const { return data_[i]; }

    std::int32_t Size() const { return length_; }
    StorageTag Tag() const { return tag_; }
    double* Data() { return data_; }
    const double* Data() const { return data_; }

  private:
    std::int32_t length_ = -1;
    StorageTag tag_ = StorageTag::None;
    double* data_ = nullptr;
    std::unique_ptr<double[]> owned_;  // holds data_ exactly when the tag is Owning
};

}  // namespace tavrin21
