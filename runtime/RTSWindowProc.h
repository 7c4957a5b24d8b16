#pragma once

#include "platform/Message.h"

// The main window's procedure: handles one message of the game thread's
// queue, with the default handling for what it leaves. A quit message ends
// the main loop.
void DispatchRTSMessage(const platform::Message& message);

// Runs the destruct callback, or the clean-up callback when there is none.
void RunGameDestruction();
// Stops the devices, logging the finalisation.
void FinalizeRTS();
