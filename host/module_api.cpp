#include "host/module_api.h"

#include "host/install_layout.h"

namespace tavrin21::host {

namespace {

template <typename Function>
Function Optional(const framework::DynamicLibrary& library, const char* name) {
    return reinterpret_cast<Function>(library.FindSymbol(name));
}

}  // namespace

ModuleApi::ModuleApi(const std::string& path) : library_(framework::DynamicLibrary::Load(path)) {
    calcItem = library_.Require<CalcItemFn>("calc_item");
    chekItem = library_.Require<ChekItemFn>("chek_item");
    viewFields.getViewFields = Optional<GetViewFieldsFn>(library_, "GetViewFields");
    viewFields.getFieldsCount = Optional<GetFieldsCountFn>(library_, "GetFieldsCount");
    viewFields.getTitleLinesCount = Optional<GetTitleLinesCountFn>(library_, "GetTitleLinesCount");
    viewFields.getFieldLength = Optional<GetFieldLengthFn>(library_, "GetFieldLength");
    viewFields.getFieldTitle = Optional<GetFieldTitleFn>(library_, "GetFieldTitle");
    viewFields.getField = Optional<GetFieldFn>(library_, "GetField");
}

std::string DefaultModulePath() {
    return InstalledModulePath();
}

}  // namespace tavrin21::host
