#pragma once

#include "base/LumoExport.h"
#include "runtime/Information.h"

// The process's life: start-up, the main loop and shutdown.

// Keeps a private copy of the application record; call before InitializeRTS.
LUMOGAME_API void InformRTS(tInformation* information);
// Starts the run-time system and constructs the game (construct may be
// null); destruct runs once when the game ends.
LUMOGAME_API tRTSResult InitializeRTS(const tStartRecord* startRecord, tConstructCallback construct,
                                      tNotifyCallback destruct);
// Starts the run-time system without constructing a game; cleanUp runs at
// shutdown when there is no destruct callback.
LUMOGAME_API tRTSResult InitRTS(const tStartRecord* startRecord, tNotifyCallback cleanUp);
// The main event loop; returns the exit report's code when the game ended.
LUMOGAME_API tRTSResult RunRTS();
// Polls keys and joysticks and dispatches pending messages without waiting;
// the game calls it once per frame.
LUMOGAME_API void HandleMessages();
// Asks the terminate query; on yes ends the process with code 0.
LUMOGAME_API void ExitRTS();
// Ends the process with code 13.
[[noreturn]] LUMOGAME_API void AbortRTS();
