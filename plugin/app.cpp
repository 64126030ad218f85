#include "plugin/app.h"

namespace tavrin21 {

CTavrin21App::~CTavrin21App() = default;

bool CTavrin21App::InitInstance() {
    SetRegistryKey(kRegistryKey);
    SetProfileName(kProfileName);
    return framework::Application::InitInstance();
}

}  // namespace tavrin21
