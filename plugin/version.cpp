// The module's version block, embedded in the shared object.

#include "plugin/version.h"

#include "framework/platform/module_version.h"

namespace tavrin21 {

// clang-format off
#define TAVRIN21_VERSION_STRINGS                                                  \
    FRAMEWORK_VERSION_STRING("CompanyName", TAVRIN21_COMPANY_NAME)                \
    FRAMEWORK_VERSION_STRING("FileDescription", TAVRIN21_FILE_DESCRIPTION)        \
    FRAMEWORK_VERSION_STRING("FileVersion", TAVRIN21_VERSION_TEXT)                \
    FRAMEWORK_VERSION_STRING("InternalName", TAVRIN21_INTERNAL_NAME)              \
    FRAMEWORK_VERSION_STRING("LegalTrademarks", TAVRIN21_LEGAL_TRADEMARKS)        \
    FRAMEWORK_VERSION_STRING("OriginalFilename", TAVRIN21_ORIGINAL_FILENAME)      \
    FRAMEWORK_VERSION_STRING("ProductName", TAVRIN21_PRODUCT_NAME)                \
    FRAMEWORK_VERSION_STRING("ProductVersion", TAVRIN21_VERSION_TEXT)
// clang-format on

FRAMEWORK_MODULE_VERSION(TAVRIN21_VERSION_NUMBERS,
                         TAVRIN21_VERSION_NUMBERS,
                         TAVRIN21_VERSION_STRINGS);

}  // namespace tavrin21
