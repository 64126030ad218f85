#pragma once

// One owner per ODBC handle: move-only, freed in the destructor, never shared.

#include "framework/odbc_api.h"

#include <utility>

namespace framework::odbc {

template <SQLSMALLINT HandleType>
class Handle {
  public:
    Handle() = default;
    explicit Handle(SQLHANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    ~Handle() { Reset(); }

    SQLHANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    void Reset() noexcept {
        // Freeing fails only for a handle still in use (a connection not disconnected), which
        // the owners rule out; a destructor could do nothing about it anyway.
        FreeHandle(HandleType, std::exchange(handle_, nullptr));
    }

  private:
    // SQL_NULL_HANDLE is a plain 0: keep the pointer type explicit for std::exchange.
    SQLHANDLE handle_ = nullptr;
};

using EnvironmentHandle = Handle<SQL_HANDLE_ENV>;
using ConnectionHandle = Handle<SQL_HANDLE_DBC>;
using StatementHandle = Handle<SQL_HANDLE_STMT>;

}  // namespace framework::odbc
