#pragma once

// An array whose capacity grows by a fixed step, element by element with a step of 1: the
// suite's permission records are few and kept for the life of the module, so no room is spent
// ahead of need.

#include <cstddef>
#include <utility>
#include <vector>

namespace tavrin21 {

template <typename T>
class StepArray {
  public:
    explicit StepArray(std::size_t growBy) : growBy_(growBy == 0 ? 1 : growBy) {}

    std::size_t GrowBy() const { return growBy_; }
    std::size_t Size() const { return elements_.size(); }
    bool IsEmpty() const { return elements_.empty(); }
    std::size_t Capacity() const { return elements_.capacity(); }

    // Appends `element` and returns its index.
    std::size_t Add(T element) {
        if (elements_.size() == elements_.capacity()) {
            elements_.reserve(elements_.capacity() + growBy_);
        }
        elements_.push_back(std::move(element));
        return elements_.size() - 1;
    }

    T& operator[](std::size_t index) { return elements_[index]; }
    const T& operator[](std::size_t index) const { return elements_[index]; }

  private:
    std::size_t growBy_;
    std::vector<T> elements_;
};

}  // namespace tavrin21
