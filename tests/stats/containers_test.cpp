#include "stats/num_vector.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

std::vector<double> Values(const NumVector& vector) {
    return {vector.Data(), vector.Data() + std::max(vector.Size(), 0)};
}

TEST(NumVector, AssignLeavesAnOwnedCopyAndEveryOtherArrayAlone) {
    struct Row {
        const char* name;
        std::int32_t targetSize;  // -1: no storage; -3: a view of three doubles
        bool reusesStorage;
    };
    const Row rows[] = {
        {"into an empty vector", -1, false},
        {"into an owning vector of the same size", 3, true},
        {"into an owning vector of another size", 8, false},
        {"into a view of the same size", -3, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        double source[] = {1.5, -2.0, 3.25};
        double viewed[] = {9.0, 9.0, 9.0};
        NumVector sourceView;
        sourceView.Refer(source, 3);
        NumVector target;
        if (row.targetSize == -3) {
            target.Refer(viewed, 3);
        } else if (row.targetSize >= 0) {
            target.Resize(row.targetSize);
        }
        const double* before = target.Data();
        target.Assign(sourceView);
        EXPECT_EQ(target.Tag(), StorageTag::Owning);
        EXPECT_EQ(Values(target), (std::vector<double>{1.5, -2.0, 3.25}));
        EXPECT_EQ(target.Data() == before, row.reusesStorage);
        target.Fill(5.0);
        EXPECT_EQ(source[0], 1.5);
        EXPECT_EQ(viewed[2], 9.0);
    }

    // A source that looks into the very array being replaced, then the vector itself.
    NumVector owner(3);
    owner.Set(2, 6.0);
    NumVector part;
    part.Refer(owner.Data() + 1, 2);
    owner.Assign(part);
    owner.Assign(owner);
    EXPECT_EQ(Values(owner), (std::vector<double>{0.0, 6.0}));
}

TEST(NumVector, ResizeAlwaysZeroesAndViewsAreNeverReleased) {
    NumVector vector;
    for (const std::int32_t size : {3, 3, 5, 0}) {
        vector.Resize(size);
        EXPECT_EQ(Values(vector), std::vector<double>(static_cast<std::size_t>(size), 0.0));
        vector.Fill(7.5);
    }
    // Releasing a view of a stack array or of another vector's storage is a bad or double free,
    // and Refer over owned storage must release it: the sanitizer build reports either fault.
    double stackArray[] = {1.0, 2.0, 3.0};
    NumVector owner(2);
    {
        NumVector view(100);
        view.Refer(stackArray, 3);
        view.Set(1, 20.0);
        view.Refer(owner.Data(), 2);
        view.Fill(3.0);
    }
    EXPECT_EQ(stackArray[1], 20.0);
    EXPECT_EQ(Values(owner), (std::vector<double>{3.0, 3.0}));
}

}  // namespace
}  // namespace tavrin21
