#include "stats/num_matrix.h"

#include <algorithm>
#include <cstddef>

namespace tavrin21 {

NumMatrix::NumMatrix(std::int32_t rows, std::int32_t columns) {
    Create(rows, columns);
}

NumMatrix::~NumMatrix() = default;

bool NumMatrix::Create(std::int32_t rows, std::int32_t columns) {
    if (rows <= 0 || columns <= 0) {
        return false;
    }
    Free();
    const auto rowCount = static_cast<std::size_t>(rows);
    const auto columnCount = static_cast<std::size_t>(columns);
    elements_ = std::make_unique_for_overwrite<double[]>(rowCount * columnCount);
    rows_ = std::make_unique_for_overwrite<double*[]>(rowCount);
    for (std::size_t i = 0; i < rowCount; ++i) {
        rows_[i] = elements_.get() + i * columnCount;
    }
    rowCount_ = rows;
    columnCount_ = columns;
    Fill(0.0);
    return true;
}

void NumMatrix::Free() {
    rows_.reset();
    elements_.reset();
    rowCount_ = 0;
    columnCount_ = 0;
}

void NumMatrix::Fill(double value) {
    if (rows_ == nullptr) {
        return;
    }
    std::fill_n(elements_.get(), static_cast<std::size_t>(rowCount_) * columnCount_, value);
}

}  // namespace tavrin21
