// The calculation exports: C shims over CalcItem. No exception crosses into the host.

#include "calc/calc_item.h"
#include "framework/db_exception.h"
#include "framework/message_box.h"
#include "plugin/module_state.h"
#include "tavrin21/exports.h"
#include "tavrin21/help_context.h"

using tavrin21::StatusFailed;
using tavrin21::StatusOk;

extern "C" TAVRIN21_API std::int32_t TAVRIN21_CDECL calc_item(char* message,
                                                              tavrin21::ItemRecord* item,
                                                              framework::Database* primaryDb,
                                                              framework::Database* secondaryDb,
                                                              std::uint32_t mode) {
    if (item == nullptr) {
        return StatusFailed;
    }
    // Runs in the caller's module state, as the host expects of a calculation.
    try {
        return tavrin21::CalcItem(message, *item, primaryDb, secondaryDb,
                                  static_cast<std::uint8_t>(mode & 0xFFu));
    } catch (const framework::DbException& error) {
        // A database that fails while its rows are read: the whole diagnostic goes to the user
        // through the message box, the short message to the host's buffer.
        framework::MessageBox(error.ErrorText() + "\n" + error.Statement(),
                              framework::kMessageBoxOk, tavrin21::kHelpContextDatabaseError);
        tavrin21::WriteMessage(message, " Database error while reading the part's data\n");
        return StatusFailed;
    } catch (...) {
        tavrin21::WriteMessage(message, " Calculation failed with an unexpected error\n");
        return StatusFailed;
    }
}

extern "C" TAVRIN21_API std::int32_t TAVRIN21_CDECL chek_item(void) {
    framework::ModuleStateGuard guard(tavrin21::TheModuleState());
    return StatusOk;
}
