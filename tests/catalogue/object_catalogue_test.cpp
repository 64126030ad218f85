#include "catalogue/object_catalogue.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

bool HasOuterBlank(const std::string& text) {
    return !text.empty() && (text.front() == ' ' || text.back() == ' ');
}

TEST(ObjectCatalogue, ProjectOperationsThenModulesAndLibraries) {
    const ObjectCatalogue catalogue;
    ASSERT_EQ(catalogue.Size(), 24u);
    for (std::size_t row = 0; row < catalogue.Size(); ++row) {
        SCOPED_TRACE(row + 1);
        EXPECT_EQ(catalogue[row].category, row < 7 ? "_PROJECT" : "_MODULE");
    }
}

// The suite finds an object by its key and shows its name; a key that is not unique, or a
// stray blank, grants or shows the wrong thing.
TEST(ObjectCatalogue, KeysAreUniqueAndOnlyTheFirstNameEndsInABlank) {
    const ObjectCatalogue catalogue;
    std::set<std::string> keys;
    for (std::size_t row = 0; row < catalogue.Size(); ++row) {
        SCOPED_TRACE(row + 1);
        const SecurableObject& object = catalogue[row];
        EXPECT_TRUE(keys.insert(object.key).second) << object.key;
        EXPECT_EQ(object.key.rfind("_SEC_", 0), 0u) << object.key;
        EXPECT_FALSE(object.description.empty());
        EXPECT_FALSE(HasOuterBlank(object.description));
        EXPECT_FALSE(HasOuterBlank(object.key));
        if (row != 0) {
            EXPECT_FALSE(HasOuterBlank(object.name));
        }
    }
    EXPECT_EQ(catalogue[0].name, "Project - Open ");
}

TEST(ObjectCatalogue, RowsTheSuiteLooksUp) {
    const ObjectCatalogue catalogue;
    const struct {
        std::size_t row;
        SecurableObject object;
    } rows[] = {
        {1,
         {"Project - Open ", "Project - Open and use all modules", "_PROJECT", "_SEC_PRJ_OPEN_RW"}},
        {7,
         {"Users Managment", "Permission to manage Users,Groups and Roles", "_PROJECT",
          "_SEC_USRMANAGMENT"}},
        {8,
         {"Product Tree", "Product Tree (Reliability, Maintainability)", "_MODULE",
          "_SEC_MOD_PRODTREE"}},
        {13, {"System Configurations", "System Configurations", "_MODULE", "_SEC_SYSCONFIG"}},
        {20,
         {"MSG-3 Zonal Analysis/L/HIRF", "MSG-3 Zonal Analysis/L/HIRF", "_MODULE",
          "_SEC_MOD_MSG3ZA"}},
        {22, {"ZOVA Library", "Libraries - ZOVA", "_MODULE", "_SEC_LIB_ZOVA"}},
        {24,
         {"Libraries - Cross Reference", "Libraries - Cross Reference", "_MODULE",
          "_SEC_LIB_XREF"}},
    };
    for (const auto& expected : rows) {
        SCOPED_TRACE(expected.row);
        const SecurableObject& object = catalogue[expected.row - 1];
        EXPECT_EQ(object.name, expected.object.name);
        EXPECT_EQ(object.description, expected.object.description);
        EXPECT_EQ(object.category, expected.object.category);
        EXPECT_EQ(object.key, expected.object.key);
    }
}

}  // namespace
}  // namespace tavrin21
