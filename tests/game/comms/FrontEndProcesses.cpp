#include "FrontEndProcesses.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "CommsFixture.h"
#include "game/CommsFrontEnd.h"
#include "network/ServerData.h"

namespace comms_testing {

namespace {

// In a child: the test's folder; empty in the test itself, whose working
// folder it is.
std::string& SharedFolder() {
  static std::string folder;
  return folder;
}

std::string RecordName(const ycPlayerRecord* record) { return record != nullptr ? record->name : "?"; }

std::string TextLine(const ycTextBlock* block) {
  return "text " + std::to_string(block->length) + " " + std::string(block->text, block->length);
}

// ---- The server child's callbacks ----

void ServerJoin(ycPlayerRecord* record) { AppendLine(Shared("server.log"), "join " + RecordName(record)); }
void ServerLeave(ycPlayerRecord* record) { AppendLine(Shared("server.log"), "leave " + RecordName(record)); }
void ServerText(ycTextBlock* block) { AppendLine(Shared("server.log"), TextLine(block)); }
void ServerStart() { AppendLine(Shared("server.log"), "start"); }
void ServerAccept(COrderPackage*, uint32_t frame) {
  AppendLine(Shared("server.log"), "order " + std::to_string(frame));
}

// ---- The client child's callbacks ----

std::string clientLog;

void ClientJoin(ycPlayerRecord* record) { AppendLine(clientLog, "join " + RecordName(record)); }
void ClientLeave(ycPlayerRecord* record) { AppendLine(clientLog, "leave " + RecordName(record)); }
void ClientText(ycTextBlock* block) {
  // A received block ends with a NUL after its bytes.
  AppendLine(clientLog, TextLine(block) + (block->text[block->length] == 0 ? "" : " (no NUL)"));
}
void ClientStart() { AppendLine(clientLog, "start"); }
void ClientDown(ConnectionData*) { AppendLine(clientLog, "down"); }
void ClientAccept(COrderPackage*, uint32_t) {}

bool ServerBody(const ServerScript& script) {
  static ycCommsCallBacks callbacks = {ServerJoin, ServerLeave, ServerText, nullptr};
  static ycOrderCallBacks orders = {ServerStart, ServerAccept};
  CommsJoinTimeLimit() = script.joinLimit;
  ycServerRecord record;
  std::strcpy(record.name, "test server");
  if (!CommsStartServer(&callbacks, &record, script.latency)) {
    return false;
  }
  {
    std::ofstream port(Shared("server.port.part"));
    port << CommsServer()->port;
  }
  std::filesystem::rename(Shared("server.port.part"), Shared("server.port"));
  bool sentText = false;
  bool sentEmpty = false;
  bool ran = false;
  uint32_t frame = 0;
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (!FlagSet("stop") && std::chrono::steady_clock::now() < deadline) {
    PumpFor(5ms);
    if (FlagSet("text") && !sentText) {
      char text[] = "hello lobby";
      ycTextBlock block{11, text};
      CommsSendText(&block);
      sentText = true;
    }
    if (FlagSet("empty-text") && !sentEmpty) {
      ycTextBlock block{0, nullptr};
      CommsSendText(&block);
      sentEmpty = true;
    }
    if (FlagSet("run") && !ran) {
      CommsRun(&orders);
      ran = true;
    }
    if (ran) {
      const uint32_t before = frame;
      while (frame < before + 100 && CommsFlush(frame)) {
        ++frame;
      }
      if (frame != before) {
        std::ofstream out(Shared("server.frame"), std::ios::trunc);
        out << frame;
      }
    }
  }
  CommsStopServer();
  return true;
}

bool ClientBody(const std::string& name, int serverPort) {
  static ycCommsCallBacks callbacks = {ClientJoin, ClientLeave, ClientText, nullptr};
  static ycSearchCallBacks search = {nullptr, ClientDown};
  static ycOrderCallBacks orders = {ClientStart, ClientAccept};
  clientLog = Shared(name + ".log");
  ycPlayerRecord own;
  std::strncpy(own.name, name.c_str(), sizeof own.name - 1);
  CommsStartClient(&search, &callbacks, &orders, &own);
  HostData host = LoopbackHost(serverPort);
  ycServerRecord server;
  server.host = &host;
  CommsJoinServer(&orders, &server);
  if (CommsConnection() == nullptr) {
    return false;
  }
  AppendLine(clientLog, "joined");
  bool leaving = false;
  uint32_t frame = 0;
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (!FlagSet("stop") && std::chrono::steady_clock::now() < deadline) {
    PumpFor(5ms);
    if (FlagSet(name + "-leave") && !leaving) {
      CommsLeaveServer();
      leaving = true;
    }
    if (leaving && CommsConnection() == nullptr && CommsObject() == nullptr) {
      AppendLine(clientLog, "closed");
      break;
    }
    if (CommsObject() != nullptr && CommsObject()->Running()) {
      const uint32_t before = frame;
      while (frame < before + 100 && CommsFlush(frame)) {
        ++frame;
      }
    }
  }
  CommsCloseClient();
  CommsDestroy();
  return true;
}

}  // namespace

pid_t Spawn(const std::string& folder, const std::function<bool()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child != 0) {
    return child;
  }
  SharedFolder() = std::filesystem::current_path().string();
  std::filesystem::create_directories(folder);
  if (chdir(folder.c_str()) != 0) {
    std::_Exit(3);
  }
  // Each process is one instance of the game: its single-instance lock
  // lives in its own folder.
  setenv("YOB_RUNTIME_DIR", std::filesystem::current_path().c_str(), 1);
  StartRuntime();
  const bool passed = body();
  StopRuntime();
  std::_Exit(passed && !::testing::Test::HasFailure() ? 0 : 1);
}

int Reap(pid_t child, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(10ms);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Shared(const std::string& name) {
  const std::string& folder = SharedFolder();
  return folder.empty() ? name : folder + "/" + name;
}

void AppendLine(const std::string& path, const std::string& line) {
  std::ofstream out(path, std::ios::app);
  out << line << "\n";
}

bool FlagSet(const std::string& name) { return std::filesystem::exists(Shared(name)); }

void SetFlag(const std::string& name) { std::ofstream flag(Shared(name)); }

std::string ReadText(const std::string& path) {
  std::ifstream in(Shared(path));
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WaitForText(const std::string& path, const std::string& text, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (ReadText(path).find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

pid_t SpawnServer(const ServerScript& script) {
  return Spawn("server", [script] { return ServerBody(script); });
}

int ServerPort() {
  const auto deadline = std::chrono::steady_clock::now() + 8s;
  while (!std::filesystem::exists(Shared("server.port"))) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return 0;
    }
    std::this_thread::sleep_for(10ms);
  }
  return std::atoi(ReadText("server.port").c_str());
}

pid_t SpawnClient(const std::string& name, int serverPort) {
  return Spawn(name, [name, serverPort] { return ClientBody(name, serverPort); });
}

}  // namespace comms_testing
