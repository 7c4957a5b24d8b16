#pragma once

#include <cstdint>

#include "runtime/GameWindow.h"

struct ConnectionData;

// Socket events reach the game as messages of the game window, found by its
// title, whose procedure this library replaces. Each registered connection
// has one of 64 slots; slot i raises message 1024 + i.

constexpr uint32_t kFirstSocketMessage = 1024;
constexpr uint32_t kSocketSlotCount = 64;
constexpr const char* kGameWindowTitle = "Yobbozers - Terrace rampage";

// Registers the connection for read and close events (any thread). Fails
// ("SyncSelect") when the game window is not open or every slot is taken.
bool SyncSelect(ConnectionData* connection);
// Ends the registration; the event thread no longer touches the socket.
void UnselectSocket(ConnectionData* connection);
// The replacement window procedure: socket messages run the connections'
// handlers; everything else goes to the procedure it replaced.
intptr_t SocketWinProc(tWindowHandle window, uint32_t message, uintptr_t wordParameter, intptr_t longParameter);
// Ends a connection whose close event came: unregisters it, removes it from
// its server, closes its socket and frees its slot. Holds no lock while it
// calls out.
void TearDownConnection(ConnectionData* connection);
// Drops every registration, joins the event thread and gives the game
// window its procedure back (the library's clean-up).
void ClearSocketEvents();
// The event thread runs.
bool SocketEventThreadRunning();
// The registration serial of a slot (0 when free).
uint32_t SocketSlotSerial(uint32_t slot);
