#pragma once

// The module's eight exports, looked up by name by the host. Every slot is 32 bits wide on the
// 32-bit Windows host; slots marked "unused" are passed by the host and never read.

#include "framework/platform/export.h"
#include "tavrin21/item_record.h"
#include "tavrin21/status.h"

#include <cstdint>

namespace framework {
class Database;
}

extern "C" {

// Calculates one item. mode 2 selects the field-data method, any other low byte the table
// method. Returns StatusCalculated or StatusFailed; a failure leaves its message in `message`
// (at least kMessageBufferBytes bytes).
TAVRIN21_API std::int32_t TAVRIN21_CDECL calc_item(char* message,
                                                   tavrin21::ItemRecord* item,
                                                   framework::Database* primaryDb,
                                                   framework::Database* secondaryDb,
                                                   std::uint32_t mode);

// Validates an item: every item is accepted.
TAVRIN21_API std::int32_t TAVRIN21_CDECL chek_item(void);

TAVRIN21_API std::int32_t TAVRIN21_CDECL GetViewFields(
    void* unused1, void* unused2, std::int32_t view, std::int32_t* count, std::int32_t* fields);
TAVRIN21_API std::int32_t TAVRIN21_CDECL GetFieldsCount(void* unused1,
                                                        void* unused2,
                                                        std::int32_t view,
                                                        std::int32_t* count);
TAVRIN21_API std::int32_t TAVRIN21_CDECL GetTitleLinesCount(void* unused1,
                                                            void* unused2,
                                                            std::int32_t* count);
TAVRIN21_API std::int32_t TAVRIN21_CDECL GetFieldLength(
    void* unused1, void* unused2, std::int32_t field, std::int32_t view, std::int32_t* length);
TAVRIN21_API std::int32_t TAVRIN21_CDECL GetFieldTitle(void* unused1,
                                                       void* unused2,
                                                       std::int32_t field,
                                                       std::int32_t view,
                                                       char* buffer,
                                                       std::int32_t titleLine);
TAVRIN21_API std::int32_t TAVRIN21_CDECL GetField(void* unused1,
                                                  void* unused2,
                                                  std::int32_t field,
                                                  std::int32_t view,
                                                  char* buffer,
                                                  tavrin21::ItemRecord* item);
}

namespace tavrin21 {

// Function-pointer types a host uses after looking the exports up by name.
using CalcItemFn = std::int32_t(TAVRIN21_CDECL*)(
    char*, ItemRecord*, framework::Database*, framework::Database*, std::uint32_t);
using ChekItemFn = std::int32_t(TAVRIN21_CDECL*)(void);
using GetViewFieldsFn =
    std::int32_t(TAVRIN21_CDECL*)(void*, void*, std::int32_t, std::int32_t*, std::int32_t*);
using GetFieldsCountFn = std::int32_t(TAVRIN21_CDECL*)(void*, void*, std::int32_t, std::int32_t*);
using GetTitleLinesCountFn = std::int32_t(TAVRIN21_CDECL*)(void*, void*, std::int32_t*);
using GetFieldLengthFn =
    std::int32_t(TAVRIN21_CDECL*)(void*, void*, std::int32_t, std::int32_t, std::int32_t*);
using GetFieldTitleFn =
    std::int32_t(TAVRIN21_CDECL*)(void*, void*, std::int32_t, std::int32_t, char*, std::int32_t);
using GetFieldFn =
    std::int32_t(TAVRIN21_CDECL*)(void*, void*, std::int32_t, std::int32_t, char*, ItemRecord*);

}  // namespace tavrin21
