// The module's state and every other object the module builds when it is loaded. They are
// defined together in this one file because the language builds the objects of one file in the
// order of their definitions and destroys them in the reverse order, and that order is fixed:
// the state first, since the start-up and every later call into the module run in it; then the
// application object; then the permission catalogue; and the module's entry last, so that the
// start-up runs once everything is built and the termination runs before anything is destroyed.

#include "plugin/module_state.h"

#include "catalogue/object_catalogue.h"
#include "catalogue/permission_kinds.h"
#include "catalogue/security_entry.h"
#include "framework/startup.h"
#include "framework/startup_trace.h"
#include "plugin/app.h"

namespace tavrin21 {

namespace {

framework::LoadTimeObject<framework::ModuleState> moduleState("module state", "tavrin21");

}  // namespace

framework::LoadTimeObject<CTavrin21App> theApp("theApp");

namespace {

framework::LoadTimeObject<SecurityEntryArray> SecurityEntries("SecurityEntries");
framework::LoadTimeObject<PermissionKindTable> SecurityPermissionKinds("SecurityPermissionKinds");
framework::LoadTimeObject<ObjectCatalogue> SecurityObjectCatalogue("SecurityObjectCatalogue");

framework::ModuleEntry moduleEntry(moduleState, &theApp);

}  // namespace

framework::ModuleState* TheModuleState() {
    return &moduleState;
}

}  // namespace tavrin21
