#pragma once

// The system's ODBC headers, driver manager and installer. Windows' declare their types with
// the Windows API's own (HWND, DWORD, WCHAR), so there <windows.h> must come first.

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>
