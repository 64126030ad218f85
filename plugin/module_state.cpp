#include "plugin/module_state.h"

namespace tavrin21 {

framework::ModuleState* TheModuleState() {
    static framework::ModuleState state("tavrin21");
    return &state;
}

}  // namespace tavrin21
