#pragma once

namespace tavrin21 {

// Help context of every message box that reports a database error, shown by the module and by
// the host library alike.
inline constexpr unsigned kHelpContextDatabaseError = 16;

}  // namespace tavrin21
