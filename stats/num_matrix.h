#pragma once

#include <cstdint>
#include <memory>

namespace tavrin21 {

// A rows x columns matrix of doubles that always owns its elements and hands out its row
// array for direct indexing row[i][j]. Indices are not checked.
class NumMatrix {
  public:
    NumMatrix() = default;
    NumMatrix(std::int32_t rows, std::int32_t columns);
    NumMatrix(const NumMatrix&) = delete;
    NumMatrix& operator=(const NumMatrix&) = delete;
    virtual ~NumMatrix();

    // Replaces any storage by rows x columns zeros. False, and nothing changed, when either
    // size is not positive.
    bool Create(std::int32_t rows, std::int32_t columns);
    // Releases the storage; Rows() is null afterwards.
    void Free();
    void Fill(double value);

    double** Rows() { return rows_.get(); }
    const double* const* Rows() const { return rows_.get(); }
    std::int32_t RowCount() const { return rowCount_; }
    std::int32_t ColumnCount() const { return columnCount_; }

  private:
    std::int32_t rowCount_ = 0;
    std::int32_t columnCount_ = 0;
    // The rows live in one block, so a matrix costs two allocations however many rows it has.
    std::unique_ptr<double[]> elements_;
    std::unique_ptr<double*[]> rows_;
};

}  // namespace tavrin21
