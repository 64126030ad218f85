#pragma once

// The module as the host sees it: loaded by path, its exports looked up by name.

#include "framework/platform/dynamic_library.h"
#include "tavrin21/exports.h"

#include <string>

namespace tavrin21::host {

struct ViewFieldExports {
    GetViewFieldsFn getViewFields = nullptr;
    GetFieldsCountFn getFieldsCount = nullptr;
    GetTitleLinesCountFn getTitleLinesCount = nullptr;
    GetFieldLengthFn getFieldLength = nullptr;
    GetFieldTitleFn getFieldTitle = nullptr;
    GetFieldFn getField = nullptr;

    bool Complete() const {
        return getViewFields && getFieldsCount && getTitleLinesCount && getFieldLength &&
               getFieldTitle && getField;
    }
};

class ModuleApi {
  public:
    // Loads the module at `path`. Throws framework::ModuleLoadError when it cannot be loaded or
    // lacks calc_item or chek_item.
    explicit ModuleApi(const std::string& path);

    CalcItemFn calcItem = nullptr;
    ChekItemFn chekItem = nullptr;
    // Null entries when the module shows no columns of its own.
    ViewFieldExports viewFields;

  private:
    framework::DynamicLibrary library_;
};

// The module built beside the program.
std::string DefaultModulePath();

}  // namespace tavrin21::host
