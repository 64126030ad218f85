#pragma once

// Loading a module by path and looking its exports up by name.

#include "framework/platform/export.h"

#include <stdexcept>
#include <string>

namespace framework {

class FRAMEWORK_API ModuleLoadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Owns one loaded module; unloads it when destroyed. Move-only.
class FRAMEWORK_API DynamicLibrary {
  public:
    // Loads the module at `path`, resolving all its symbols now. Throws ModuleLoadError with the
    // loader's reason when the file is missing, is not a module or its start-up fails.
    static DynamicLibrary Load(const std::string& path);

    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    ~DynamicLibrary();

    // The address of the export `name`, or nullptr when the module has none of that name.
    void* FindSymbol(const char* name) const;

    // The export `name` as a function pointer; throws ModuleLoadError when it is missing.
    template <typename Function>
    Function Require(const char* name) const {
        return reinterpret_cast<Function>(RequireSymbol(name));
    }

    const std::string& Path() const { return path_; }

    // Unloads now; the object is empty afterwards.
    void Unload() noexcept;

  private:
    DynamicLibrary(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    void* RequireSymbol(const char* name) const;

    void* handle_ = nullptr;
    std::string path_;
};

// Whether the module at `path` is loaded in this process now, by whoever loaded it.
FRAMEWORK_API bool ModuleIsLoaded(const std::string& path);

// The folder that holds the running program, for finding modules installed beside it.
FRAMEWORK_API std::string ProgramDirectory();

// The file name of the module `name` on this platform: "tavrin21" is "tavrin21.so" here and
// "tavrin21.dll" on Windows.
FRAMEWORK_API std::string ModuleFileName(const std::string& name);

}  // namespace framework
