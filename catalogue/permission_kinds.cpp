#include "catalogue/permission_kinds.h"

namespace tavrin21 {

PermissionKindTable::PermissionKindTable()
    : rows_{{
          {"_EXECUTE", "Execute"},
          {"_READ", "Permission to Read"},
          {"_WRITE", "Permission to Modify"},
      }} {}

}  // namespace tavrin21
