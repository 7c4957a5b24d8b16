#pragma once

#include <cstdint>

#include "base/LumoExport.h"
#include "platform/Message.h"

// The game window as other libraries reach it: found by its title, posted
// to from any thread, and given a procedure of their own that sees every
// message first. Each library holds its own copy of the platform layer, so
// the window's queue is only ever reached through these calls.

// Names an open window; 0 is none. A handle of a window that closed stays
// invalid: the next window gets another.
using tWindowHandle = uintptr_t;
// A window procedure: the message number and its two parameters. The run-time
// system's own messages (numbers below kFirstUserMessage) carry their record's
// address as the second parameter; a replacement passes them on unchanged.
using tWindowProcedure = intptr_t (*)(tWindowHandle window, uint32_t message, uintptr_t wordParameter,
                                      intptr_t longParameter);

// The open top-level window with exactly this title, or 0. Any thread.
LUMOGAME_API tWindowHandle FindGameWindow(const char* title);
// Queues a message numbered kFirstUserMessage or above for the window; false
// when the window is not open or the number is the run-time system's. Any
// thread.
LUMOGAME_API bool PostGameWindowMessage(tWindowHandle window, uint32_t message, uintptr_t wordParameter,
                                        intptr_t longParameter);
// Makes the procedure the window's and answers the one it replaces (to
// which the new one passes what it leaves); null, changing nothing, when the
// window is not open or no procedure is given. Any thread.
LUMOGAME_API tWindowProcedure ReplaceWindowProcedure(tWindowHandle window, tWindowProcedure procedure);

// ---- Inside the run-time system ----

// Hands a message to the window's procedure: a replacement when one was set
// for the open window, else the run-time system's own.
void DispatchToWindowProcedure(const platform::Message& message);
