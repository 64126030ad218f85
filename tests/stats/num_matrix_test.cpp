#include "stats/num_matrix.h"

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

void ExpectAll(NumMatrix& matrix, double value) {
    for (std::int32_t i = 0; i < matrix.RowCount(); ++i) {
        for (std::int32_t j = 0; j < matrix.ColumnCount(); ++j) {
            EXPECT_EQ(matrix.Rows()[i][j], value) << "[" << i << "][" << j << "]";
        }
    }
}

TEST(NumMatrix, StartsAsZerosAndIndexesRowByRow) {
    NumMatrix matrix(3, 2);
    ASSERT_NE(matrix.Rows(), nullptr);
    EXPECT_EQ(matrix.RowCount(), 3);
    EXPECT_EQ(matrix.ColumnCount(), 2);
    ExpectAll(matrix, 0.0);
    matrix.Rows()[2][1] = 8.0;
    matrix.Rows()[0][1] = 1.0;
    EXPECT_EQ(matrix.Rows()[2][1], 8.0);
    EXPECT_EQ(matrix.Rows()[1][0], 0.0);
    EXPECT_EQ(matrix.Rows()[1][1], 0.0);
}

TEST(NumMatrix, CreateRefusesEmptySizesAndKeepsWhatItHas) {
    NumMatrix matrix(2, 2);
    matrix.Fill(4.0);
    for (const auto& [rows, columns] : {std::pair{0, 3}, {3, 0}, {0, 0}, {-1, 2}}) {
        SCOPED_TRACE(testing::Message() << rows << " x " << columns);
        EXPECT_FALSE(matrix.Create(rows, columns));
        EXPECT_EQ(matrix.RowCount(), 2);
        ExpectAll(matrix, 4.0);
    }
    NumMatrix empty(0, 5);
    EXPECT_EQ(empty.Rows(), nullptr);
    empty.Fill(1.0);  // nothing to fill, nothing touched
}

TEST(NumMatrix, CreateReplacesAndFreeReleases) {
    NumMatrix matrix(2, 3);
    matrix.Fill(4.0);
    ASSERT_TRUE(matrix.Create(4, 1));
    EXPECT_EQ(matrix.RowCount(), 4);
    ExpectAll(matrix, 0.0);
    matrix.Free();
    EXPECT_EQ(matrix.Rows(), nullptr);
    matrix.Free();
    ASSERT_TRUE(matrix.Create(1, 1));
    ExpectAll(matrix, 0.0);
}

}  // namespace
}  // namespace tavrin21
