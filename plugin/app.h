#pragma once

// The module's application object.

#include "framework/app.h"
#include "framework/startup_trace.h"

namespace tavrin21 {

// The suite keeps its settings under one registry key, in one profile, whatever this module's
// file is called.
inline constexpr const char* kRegistryKey = "Mirelda";
inline constexpr const char* kProfileName = "Quorvant for Windows";

class CTavrin21App : public framework::Application {
  public:
    // No name of its own: it is named after the module's file.
    CTavrin21App() = default;
    ~CTavrin21App() override;

    bool InitInstance() override;
    // Stops the fit's evaluation threads while the module is still whole.
    int ExitInstance() override;
};

// The one application object, built at load and destroyed at unload.
extern framework::LoadTimeObject<CTavrin21App> theApp;

}  // namespace tavrin21
