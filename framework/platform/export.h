#pragma once

// How a symbol leaves a shared object, and the calling convention of the module's exports.
// This is the one header that knows the platform's spelling of either.

#if defined(_WIN32)
#define TAVRIN21_EXPORT __declspec(dllexport)
#define TAVRIN21_IMPORT __declspec(dllimport)
#define TAVRIN21_CDECL __cdecl
#else
#define TAVRIN21_EXPORT __attribute__((visibility("default")))
#define TAVRIN21_IMPORT __attribute__((visibility("default")))
#define TAVRIN21_CDECL
#endif

// The framework shared library: exported while it is built, imported by everyone else.
#if defined(FRAMEWORK_BUILDING)
#define FRAMEWORK_API TAVRIN21_EXPORT
#else
#define FRAMEWORK_API TAVRIN21_IMPORT
#endif

// The host calculation library.
#if defined(MORVIK_BUILDING)
#define MORVIK_API TAVRIN21_EXPORT
#else
#define MORVIK_API TAVRIN21_IMPORT
#endif

// The calculation module.
#if defined(TAVRIN21_BUILDING)
#define TAVRIN21_API TAVRIN21_EXPORT
#else
#define TAVRIN21_API TAVRIN21_IMPORT
#endif
