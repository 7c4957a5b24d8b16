#pragma once

#include "platform/Message.h"

// The main window's procedure: handles one message of the game thread's
// queue, with the default handling for what it leaves. A quit message ends
// the main loop.
void DispatchRTSMessage(const platform::Message& message);
// The run-time system's own window procedure, which a replacement procedure
// set by another library passes its leftover messages on to.
void RunRTSWindowProcedure(const platform::Message& message);

// Runs the destruct callback, or the clean-up callback when there is none.
void RunGameDestruction();
// Stops the devices, logging the finalisation.
void FinalizeRTS();
