#include "framework/platform/module_thread.h"

#include <system_error>
#include <utility>
#include <windows.h>

namespace framework {

namespace {

struct ThreadStart {
    ModuleThread::Entry entry;
    void* context;
    HMODULE module;  // the reference the thread holds
};

DWORD WINAPI RunModuleThread(void* parameter) {
    const ThreadStart start = *static_cast<ThreadStart*>(parameter);
    delete static_cast<ThreadStart*>(parameter);
    start.entry(start.context);
    // Drops the thread's reference and ends it without returning into code that the drop may
    // have unmapped: when the reference was the module's last, the module unloads right here,
    // on this thread, with no thread of its own left. (This function lies in the framework's
    // DLL, which the module holds loaded and may take along.)
    FreeLibraryAndExitThread(start.module, 0);
}

std::system_error LastSystemError(const char* what) {
    return std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

}  // namespace

// The loader calls a DLL's termination inside its lock, which a thread that is ending needs too.
bool ModuleThreadsEndBeforeUnload() {
    return true;
}

ModuleThread ModuleThread::Start(Entry entry, void* context) {
    // Taken here rather than by the new thread, so that the module cannot go between the start
    // and the thread's first instruction.
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(entry)), &module)) {
        throw LastSystemError("cannot find the module of a thread's code");
    }
    auto* start = new ThreadStart{entry, context, module};
    // CreateThread, not std::thread: the thread ends in FreeLibraryAndExitThread, so the wrappers
    // of a std::thread (libstdc++'s and the thread library's) would never get back to free what
    // they hold. msvcrt.dll sets up and frees its per-thread data for any thread.
    HANDLE thread = CreateThread(nullptr, 0, RunModuleThread, start, 0, nullptr);
    if (thread == nullptr) {
        const std::system_error error = LastSystemError("cannot start a thread");
        delete start;
        FreeLibrary(module);
        throw error;
    }
    return ModuleThread(thread);
}

void ModuleThread::Join() {
    if (WaitForSingleObject(handle_, INFINITE) != WAIT_OBJECT_0) {
        throw LastSystemError("cannot wait for a thread to end");
    }
    CloseHandle(std::exchange(handle_, nullptr));
}

void ModuleThread::Detach() noexcept {
    CloseHandle(std::exchange(handle_, nullptr));
}

}  // namespace framework
