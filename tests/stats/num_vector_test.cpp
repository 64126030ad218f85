#include "stats/num_vector.h"

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

void ExpectValues(const NumVector& vector, std::initializer_list<double> expected) {
    ASSERT_EQ(vector.Size(), static_cast<std::int32_t>(expected.size()));
    std::int32_t i = 0;
    for (const double value : expected) {
        EXPECT_EQ(vector.Get(i++), value) << "element " << i - 1;
    }
}

TEST(NumVector, EmptyHasNoStorageAndClearKeepsItSo) {
    NumVector vector;
    EXPECT_EQ(vector.Size(), -1);
    EXPECT_EQ(vector.Tag(), StorageTag::None);
    EXPECT_EQ(vector.Data(), nullptr);
    vector.Clear();
    EXPECT_EQ(vector.Size(), -1);
    EXPECT_EQ(vector.Tag(), StorageTag::None);
}

TEST(NumVector, ResizeAlwaysGivesZeros) {
    NumVector vector(3);
    EXPECT_EQ(vector.Tag(), StorageTag::Owning);
    ExpectValues(vector, {0.0, 0.0, 0.0});
    vector.Fill(7.5);
    vector.Resize(3);
    ExpectValues(vector, {0.0, 0.0, 0.0});
    vector.Fill(7.5);
    vector.Resize(5);
    ExpectValues(vector, {0.0, 0.0, 0.0, 0.0, 0.0});
    vector.Resize(0);
    EXPECT_EQ(vector.Size(), 0);
    EXPECT_EQ(vector.Tag(), StorageTag::Owning);
    vector.Allocate(2, true);  // over owned storage: the old array is released, not leaked
    ExpectValues(vector, {0.0, 0.0});
}

TEST(NumVector, AssignCopiesIntoOwnedStorage) {
    double values[] = {1.5, -2.0, 3.25};
    NumVector view;
    view.Refer(values, 3);

    struct Row {
        const char* name;
        std::int32_t initialSize;  // -1: empty vector
        bool reusesStorage;
    };
    const Row rows[] = {
        {"into an empty vector", -1, false},
        {"into an owning vector of the same size", 3, true},
        {"into a smaller owning vector", 2, false},
        {"into a larger owning vector", 8, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        NumVector target;
        if (row.initialSize >= 0) {
            target.Resize(row.initialSize);
        }
        const double* before = target.Data();
        target.Assign(view);
        EXPECT_EQ(target.Tag(), StorageTag::Owning);
        EXPECT_NE(target.Data(), values);
        ExpectValues(target, {1.5, -2.0, 3.25});
        if (row.reusesStorage) {
            EXPECT_EQ(target.Data(), before);
        }
    }
}

TEST(NumVector, AssignIntoAViewLeavesTheViewedArrayAlone) {
    double viewed[] = {9.0, 9.0};
    NumVector source(2);
    source.Set(0, 1.0);
    source.Set(1, 2.0);
    NumVector target;
    target.Refer(viewed, 2);

    target.Assign(source);

    EXPECT_EQ(target.Tag(), StorageTag::Owning);
    EXPECT_NE(target.Data(), viewed);
    ExpectValues(target, {1.0, 2.0});
    EXPECT_EQ(viewed[0], 9.0);
    EXPECT_EQ(viewed[1], 9.0);
    target.Set(0, 5.0);
    EXPECT_EQ(viewed[0], 9.0);
}

TEST(NumVector, AssignFromItsOwnViewOrItself) {
    double viewed[] = {4.0, 5.0};
    NumVector view;
    view.Refer(viewed, 2);
    view.Assign(view);
    EXPECT_EQ(view.Tag(), StorageTag::Owning);
    ExpectValues(view, {4.0, 5.0});

    NumVector owner(3);
    owner.Set(2, 6.0);
    NumVector part;
    part.Refer(owner.Data() + 1, 2);
    owner.Assign(part);  // the source looks into the array being replaced
    ExpectValues(owner, {0.0, 6.0});

    owner.Assign(owner);
    ExpectValues(owner, {0.0, 6.0});
}

TEST(NumVector, AssignFromEmptySourcesGivesTheSourceShape) {
    NumVector lengthZero(0);
    NumVector target(3);
    target.Assign(lengthZero);
    EXPECT_EQ(target.Tag(), StorageTag::Owning);
    EXPECT_EQ(target.Size(), 0);

    NumVector noStorage;
    target.Assign(noStorage);
    EXPECT_EQ(target.Tag(), StorageTag::None);
    EXPECT_EQ(target.Size(), -1);
}

TEST(NumVector, ViewsAreNeverReleased) {
    // A view over a stack array and over another vector's storage: releasing either would be a
    // bad free or a double free, which the sanitizer build reports.
    double stackArray[] = {1.0, 2.0, 3.0};
    NumVector owner(2);
    {
        NumVector view;
        view.Refer(stackArray, 3);
        view.Set(1, 20.0);
        view.Refer(owner.Data(), 2);
        view.Fill(3.0);
        view.Clear();
        EXPECT_EQ(view.Tag(), StorageTag::None);
        view.Refer(stackArray, 3);
    }
    EXPECT_EQ(stackArray[1], 20.0);
    ExpectValues(owner, {3.0, 3.0});
}

TEST(NumVector, ReferOnAnOwningVectorReleasesItsStorage) {
    double values[] = {1.0};
    NumVector vector(100);
    vector.Refer(values, 1);
    EXPECT_EQ(vector.Tag(), StorageTag::View);
    EXPECT_EQ(vector.Data(), values);
    EXPECT_EQ(vector.Size(), 1);
}

}  // namespace
}  // namespace tavrin21
