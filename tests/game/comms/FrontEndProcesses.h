#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace comms_testing {

using namespace std::chrono_literals;

// The front end keeps its state in globals, so each server and client runs
// in a process of its own, forked from the test, in a sub-folder of the
// test's folder (its own debug log). They talk to the test through files in
// the test's folder: logs that the test reads, flags that the test sets.

// Starts a child that runs the body with the run-time system and network
// started; it exits with 0 when the body answers true.
pid_t Spawn(const std::string& folder, const std::function<bool()>& body);
// The child's exit code, or -1 when it did not end in time (it is killed).
int Reap(pid_t child, std::chrono::milliseconds limit = 20000ms);

// In a child: a file of the test's folder.
std::string Shared(const std::string& name);
void AppendLine(const std::string& path, const std::string& line);
bool FlagSet(const std::string& name);

// In the test.
void SetFlag(const std::string& name);
std::string ReadText(const std::string& path);
bool WaitForText(const std::string& path, const std::string& text, std::chrono::milliseconds limit = 8000ms);
int CountOf(const std::string& text, const std::string& part);

// A served game in a child: logs its callbacks to "server.log" ("join
// <name>", "leave <name>", "text <length> <text>", "start", "order <kind>
// <frame>"), writes its datagram port to "server.port" and its game frame
// to "server.frame". Flags: "text" and "empty-text" send a lobby text,
// "run" starts the game, "stop" ends it.
struct ServerScript {
  uint32_t latency = 2;
  std::chrono::milliseconds joinLimit = 10000ms;
};
pid_t SpawnServer(const ServerScript& script);
// The server's port once it wrote it; 0 when it did not in time.
int ServerPort();

// A client in a child that joins the server as `name` and logs to
// "<name>.log" ("joined", "join <name>", "leave <name>", "text ...",
// "start", "down", "closed"). Flag "<name>-leave" leaves the game.
pid_t SpawnClient(const std::string& name, int serverPort);

}  // namespace comms_testing
