#pragma once

// The system's side of DynamicLibrary: its loader.

#include <string>

namespace framework::platform {

// Loads the module at `path` with all its symbols resolved now (its start-up runs inside);
// throws ModuleLoadError with the loader's reason.
void* OpenModule(const std::string& path);
void CloseModule(void* handle) noexcept;
// The address of the export `name`, or null.
void* ModuleSymbol(void* handle, const char* name);

}  // namespace framework::platform
