#include "plugin/app.h"

#include "stats/point_evaluation.h"

namespace tavrin21 {

CTavrin21App::~CTavrin21App() = default;

bool CTavrin21App::InitInstance() {
    SetRegistryKey(kRegistryKey);
    SetProfileName(kProfileName);
    return framework::Application::InitInstance();
}

int CTavrin21App::ExitInstance() {
    StopEvaluationThreads();
    return framework::Application::ExitInstance();
}

}  // namespace tavrin21
