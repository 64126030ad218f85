#include "stats/num_vector.h"

#include <algorithm>

namespace tavrin21 {

NumVector::NumVector(std::int32_t n) {
    Allocate(n, true);
}

NumVector::~NumVector() = default;

void NumVector::Allocate(std::int32_t n, bool zero) {
    Clear();
    if (n < 0) {
        return;
    }
    owned_ = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(n));
    data_ = owned_.get();
    length_ = n;
    tag_ = StorageTag::Owning;
    if (zero) {
        Fill(0.0);
    }
}

void NumVector::Resize(std::int32_t n) {
    Allocate(n, true);
}

void NumVector::Clear() {
    owned_.reset();
    data_ = nullptr;
    length_ = -1;
    tag_ = StorageTag::None;
}

void NumVector::Assign(const NumVector& source) {
    if (source.tag_ == StorageTag::None) {
        Clear();
        return;
    }
    if (tag_ == StorageTag::Owning && length_ == source.length_) {
        for (std::int32_t i = 0; i < length_; ++i) {  // also right when source is this vector
            data_[i] = source.data_[i];
        }
        return;
    }
    // The source may look at the very array this vector is about to release (or be this vector
    // itself), so the copy is made before the old storage goes.
    auto copy = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(source.length_));
    std::copy_n(source.data_, source.length_, copy.get());
    const std::int32_t n = source.length_;
    Clear();
    owned_ = std::move(copy);
    data_ = owned_.get();
    length_ = n;
    tag_ = StorageTag::Owning;
}

void NumVector::Refer(double* data, std::int32_t n) {
    Clear();
    data_ = data;
    length_ = n;
    tag_ = StorageTag::View;
}

void NumVector::Fill(double value) {
    if (length_ > 0) {
        std::fill_n(data_, length_, value);
    }
}

}  // namespace tavrin21
