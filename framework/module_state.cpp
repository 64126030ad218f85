#include "framework/module_state.h"

namespace framework {

namespace {

thread_local ModuleState* currentState = nullptr;

}  // namespace

ModuleState* ProcessModuleState() {
    static ModuleState state("process");
    return &state;
}

ModuleState* CurrentModuleState() {
    return currentState != nullptr ? currentState : ProcessModuleState();
}

ModuleStateGuard::ModuleStateGuard(ModuleState* state) : previous_(currentState) {
    currentState = state;
}

ModuleStateGuard::~ModuleStateGuard() {
    currentState = previous_;
}

}  // namespace framework
