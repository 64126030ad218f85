#include "catalogue/object_catalogue.h"
#include "catalogue/permission_kinds.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tavrin21 {
namespace {

// The suite matches these texts exactly, so every row is checked whole, blanks included;
// "|" separates the strings of a row.
TEST(Catalogue, PermissionKindsAndSecurableObjectsRowByRow) {
    std::vector<std::string> rows;
    for (const PermissionKind& kind : PermissionKindTable()) {
        rows.push_back(kind.key + "|" + kind.text);
    }
    for (const SecurableObject& object : ObjectCatalogue()) {
        rows.push_back(object.name + "|" + object.description + "|" + object.category + "|" +
                       object.key);
    }
    const std::vector<std::string> expected = {
        "_EXECUTE|Execute",
        "_READ|Permission to Read",
        "_WRITE|Permission to Modify",
        "Project - Open |Project - Open and use all modules|_PROJECT|_SEC_PRJ_OPEN_RW",
        "Project - Backup|Project - Backup|_PROJECT|_SEC_PRJ_BACKUP",
        "Project - Restore|Project - Overwrite using Restore|_PROJECT|_SEC_PRJ_RESTORE",
        "Project - Delete|Project - Delete|_PROJECT|_SEC_PRJ_DELETE",
        "Project - Rename|Project - Rename|_PROJECT|_SEC_PRJ_RENAME",
        "Project - Copy|Project - Copy|_PROJECT|_SEC_PRJ_COPY",
        "Users Managment|Permission to manage Users,Groups and Roles|_PROJECT|_SEC_USRMANAGMENT",
        "Product Tree|Product Tree (Reliability, Maintainability)|_MODULE|_SEC_MOD_PRODTREE",
        "FMECA|FMECA|_MODULE|_SEC_MOD_FMECA",
        "Safety|Safety|_MODULE|_SEC_MOD_SAFETY",
        "Markov Chains|Markov Chains|_MODULE|_SEC_MOD_MARKOV",
        "RBD|RBD - Reliability Block Diagrams|_MODULE|_SEC_MOD_RBD",
        "System Configurations|System Configurations|_MODULE|_SEC_SYSCONFIG",
        "FTA|FTA - Fault Tree Analysis|_MODULE|_SEC_MOD_FTA",
        "ETA|ETA - Event Tree Analysis|_MODULE|_SEC_MOD_ETA",
        "Process/Design FMEA|Process/Design FMEA|_MODULE|_SEC_MOD_PDFMEA",
        "MMEL|MMEL - Master Minimum Equipment List|_MODULE|_SEC_MOD_MMEL",
        "MSG-3 System and Powerplant|MSG-3 System and Powerplant|_MODULE|_SEC_MOD_MSG3",
        "MSG-3 Structure Analysis|MSG-3 Structure Analysis|_MODULE|_SEC_MOD_MSG3SA",
        "MSG-3 Zonal Analysis/L/HIRF|MSG-3 Zonal Analysis/L/HIRF|_MODULE|_SEC_MOD_MSG3ZA",
        "Component Library|Libraries - Component Library|_MODULE|_SEC_LIB_COMP",
        "ZOVA Library|Libraries - ZOVA|_MODULE|_SEC_LIB_ZOVA",
        "Libraries - Calculation Defaults|Libraries - Calculation Defaults|_MODULE|_SEC_LIB_DEF",
        "Libraries - Cross Reference|Libraries - Cross Reference|_MODULE|_SEC_LIB_XREF",
    };
    EXPECT_THAT(rows, ::testing::ElementsAreArray(expected));
}

}  // namespace
}  // namespace tavrin21
