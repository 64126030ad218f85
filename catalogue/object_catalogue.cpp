#include "catalogue/object_catalogue.h"

namespace tavrin21 {

// The first row's name ends in a blank: the suite matches names exactly, so it stays.
ObjectCatalogue::ObjectCatalogue()
    : rows_{{
          {"Project - Open ", "Project - Open and use all modules", kCategoryProject,
           "_SEC_PRJ_OPEN_RW"},
          {"Project - Backup", "Project - Backup", kCategoryProject, "_SEC_PRJ_BACKUP"},
          {"Project - Restore", "Project - Overwrite using Restore", kCategoryProject,
           "_SEC_PRJ_RESTORE"},
          {"Project - Delete", "Project - Delete", kCategoryProject, "_SEC_PRJ_DELETE"},
          {"Project - Rename", "Project - Rename", kCategoryProject, "_SEC_PRJ_RENAME"},
          {"Project - Copy", "Project - Copy", kCategoryProject, "_SEC_PRJ_COPY"},
          {"Users Managment", "Permission to manage Users,Groups and Roles", kCategoryProject,
           "_SEC_USRMANAGMENT"},
          {"Product Tree", "Product Tree (Reliability, Maintainability)", kCategoryModule,
           "_SEC_MOD_PRODTREE"},
          {"FMECA", "FMECA", kCategoryModule, "_SEC_MOD_FMECA"},
          {"Safety", "Safety", kCategoryModule, "_SEC_MOD_SAFETY"},
          {"Markov Chains", "Markov Chains", kCategoryModule, "_SEC_MOD_MARKOV"},
          {"RBD", "RBD - Reliability Block Diagrams", kCategoryModule, "_SEC_MOD_RBD"},
          {"System Configurations", "System Configurations", kCategoryModule, "_SEC_SYSCONFIG"},
          {"FTA", "FTA - Fault Tree Analysis", kCategoryModule, "_SEC_MOD_FTA"},
          {"ETA", "ETA - Event Tree Analysis", kCategoryModule, "_SEC_MOD_ETA"},
          {"Process/Design FMEA", "Process/Design FMEA", kCategoryModule, "_SEC_MOD_PDFMEA"},
          {"MMEL", "MMEL - Master Minimum Equipment List", kCategoryModule, "_SEC_MOD_MMEL"},
          {"MSG-3 System and Powerplant", "MSG-3 System and Powerplant", kCategoryModule,
           "_SEC_MOD_MSG3"},
          {"MSG-3 Structure Analysis", "MSG-3 Structure Analysis", kCategoryModule,
           "_SEC_MOD_MSG3SA"},
          {"MSG-3 Zonal Analysis/L/HIRF", "MSG-3 Zonal Analysis/L/HIRF", kCategoryModule,
           "_SEC_MOD_MSG3ZA"},
          {"Component Library", "Libraries - Component Library", kCategoryModule, "_SEC_LIB_COMP"},
          {"ZOVA Library", "Libraries - ZOVA", kCategoryModule, "_SEC_LIB_ZOVA"},
          {"Libraries - Calculation Defaults", "Libraries - Calculation Defaults", kCategoryModule,
           "_SEC_LIB_DEF"},
          {"Libraries - Cross Reference", "Libraries - Cross Reference", kCategoryModule,
           "_SEC_LIB_XREF"},
      }} {}

}  // namespace tavrin21
