#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "game/YCommsBase.h"
#include "game/YCommsRecords.h"

struct ConnectionData;
struct ServerData;

// The comms front end: the program's one comms object, a served game or a
// client's connection to one, the host searches, and the comms messages on
// every connection. Everything runs on the game thread except
// CommsGreetClient, which the network library calls on its server thread.

// ---- The comms object ----

// Makes a single-player exchange when there is no comms object, then runs
// it with the callbacks.
void CommsRun(ycOrderCallBacks* callbacks);
void CommsDestroy();
// The comms object becomes a new server or client exchange; an earlier one
// is destroyed first.
void CommsCreateServer(ServerData* server, uint32_t latency);
void CommsCreateClient(ConnectionData* connection);
// The package is the comms layer's from now on (freed when there is no
// comms object).
void CommsSend(COrderPackage* package);
// Whether the frame may run; false without a comms object.
bool CommsFlush(uint32_t frame);

// ---- Serving a game ----

// Starts a server under the record's name and info; false (logged, no comms
// object) when the server cannot be made.
bool CommsStartServer(ycCommsCallBacks* callbacks, ycServerRecord* record, uint32_t latency);
void CommsStopServer();
// Removes the player from the table and closes its connection.
void CommsDropClient(ycPlayerRecord* record);
void CommsSetServerName(const char* name);
// Keeps the block as the lobby's current text, multicasts it and hands it to
// the server's own text callback.
void CommsSendText(ycTextBlock* block);
// The accept handler (server thread): greets the new connection with the
// current text.
bool CommsGreetClient(ConnectionData* connection);
// The server's connection handlers.
void CommsServerReceive(ConnectionData* connection);
void CommsServerClosed(ConnectionData* connection);

// ---- Joining a game ----

void CommsStartClient(ycSearchCallBacks* search, ycCommsCallBacks* callbacks, ycOrderCallBacks* orders,
                      ycPlayerRecord* own);
void CommsScanServers();
void CommsQueryServer(ycServerRecord* record);
// Reports every server the kept searches found, then closes the searches.
void CommsPollServers();
void CommsJoinServer(ycOrderCallBacks* orders, ycServerRecord* record);
void CommsLeaveServer();
void CommsCloseClient();
void CommsSendClientText(ycTextBlock* block);
// The client's connection handlers.
void CommsServerDown(ConnectionData* connection);
void CommsClientReceive(ConnectionData* connection);

// ---- Limits and what tests look at ----

// Host searches kept between two polls; more are closed at once.
constexpr size_t kMostOpenSearches = 256;

YCommsBase* CommsObject();
ServerData* CommsServer();
ConnectionData* CommsConnection();
const ycPlayerRecord& CommsOwnRecord();
size_t CommsOpenSearchCount();
// How long a new connection may wait before its join; it is closed after.
std::chrono::milliseconds& CommsJoinTimeLimit();
