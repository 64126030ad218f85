// The view-field exports: C shims over plugin/view_fields. Each runs in the module's own
// framework state and gives the caller's back on every way out. A null pointer where the call
// must write (or read the item) is answered with StatusBadIndex and nothing written, as for an
// index out of range; no exception crosses into the host.

#include "plugin/module_state.h"
#include "plugin/view_fields.h"
#include "tavrin21/exports.h"

using tavrin21::StatusBadIndex;

extern "C" TAVRIN21_API std::int32_t TAVRIN21_CDECL GetViewFields(void* /*unused1*/,
                                                                  void* /*unused2*/,
                                                                  std::int32_t /*view*/,
                                                                  std::int32_t* count,
                                                                  std::int32_t* fields) {
    try {
        framework::ModuleStateGuard guard(tavrin21::TheModuleState());
        if (count == nullptr || fields == nullptr) {
            return StatusBadIndex;
        }
        return tavrin21::ViewFields(*count, std::span<std::int32_t, tavrin21::kViewFieldCount>(
                                                fields, tavrin21::kViewFieldCount));
    } catch (...) {
        return StatusBadIndex;
    }
}

extern "C" TAVRIN21_API std::int32_t TAVRIN21_CDECL GetFieldsCount(void* /*unused1*/,
                                                                   void* /*unused2*/,
                                                                   std::int32_t /*view*/,
                                                                   std::int32_t* count) {
    try {
        framework::ModuleStateGuard guard(tavrin21::TheModuleState());
        if (count == nullptr) {
            return StatusBadIndex;
        }
        return tavrin21::FieldsCount(*count);
    } catch (...) {
        return StatusBadIndex;
    }
}

extern "C" TAVRIN21_API std::int32_t TAVRIN21_CDECL GetTitleLinesCount(void* /*unused1*/,
                                                                       void* /*unused2*/,
                                                                       std::int32_t* count) {
    try {
        framework::ModuleStateGuard guard(tavrin21::TheModuleState());
        if (count == nullptr) {
            return StatusBadIndex;
        }
        return tavrin21::TitleLinesCount(*count);
    } catch (...) {
        return StatusBadIndex;
    }
}

extern "C" TAVRIN21_API std::int32_t TAVRIN21_CDECL GetFieldLength(void* /*unused1*/,
                                                                   void* /*unused2*/,
                                                                   std::int32_t field,
                                                                   std::int32_t /*view*/,
                                                                   std::int32_t* length) {
    try {
        framework::ModuleStateGuard guard(tavrin21::TheModuleState());
        if (length == nullptr) {
            return StatusBadIndex;
        }
        return tavrin21::FieldLength(field, *length);
    } catch (...) {
        return StatusBadIndex;
    }
}

extern "C" TAVRIN21_API std::int32_t TAVRIN21_CDECL GetFieldTitle(void* /*unused1*/,
                                                                  void* /*unused2*/,
                                                                  std::int32_t field,
                                                                  std::int32_t /*view*/,
                                                                  char* buffer,
                                                                  std::int32_t titleLine) {
    try {
        framework::ModuleStateGuard guard(tavrin21::TheModuleState());
        if (buffer == nullptr) {
            return StatusBadIndex;
        }
        return tavrin21::FieldTitle(field, titleLine, buffer);
    } catch (...) {
        return StatusBadIndex;
    }
}

extern "C" TAVRIN21_API std::int32_t TAVRIN21_CDECL GetField(void* /*unused1*/,
                                                             void* /*unused2*/,
                                                             std::int32_t field,
                                                             std::int32_t view,
                                                             char* buffer,
                                                             tavrin21::ItemRecord* item) {
    try {
        framework::ModuleStateGuard guard(tavrin21::TheModuleState());
        if (buffer == nullptr || item == nullptr) {
            return StatusBadIndex;
        }
        return tavrin21::FieldText(field, view, buffer, *item);
    } catch (...) {
        return StatusBadIndex;
    }
}
