// A program built only against the shipped libLumoGame.so and
// libLumoConnection.so, as the game is: it joins a server side played by a
// thread of its own and must get the server's first bytes through the
// run-time system's main loop. Exits 0 when the read handler got them.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "network/ConnectionData.h"
#include "network/HostData.h"
#include "runtime/RTS.h"

namespace {

constexpr char kMessage[] = "through the loop";

void Fail(const char* why) {
  std::fprintf(stderr, "%s\n", why);
  std::_Exit(1);
}

void OnRead(ConnectionData* connection) {
  char text[sizeof kMessage - 1];
  if (!Read(connection, text, sizeof text)) {
    return;
  }
  if (std::memcmp(text, kMessage, sizeof text) != 0) {
    Fail("the bytes read are not the ones sent");
  }
  // The terminate query agrees (there is none): the process ends with 0.
  ExitRTS();
}

ConnectionHandlers handlers = {{nullptr, nullptr, OnRead}};

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// The server's side: takes the connect request, connects back, greets and
// sends the message.
void PlayServer(int datagramSocket) {
  char request[256] = {};
  pollfd polled = {datagramSocket, POLLIN, 0};
  if (poll(&polled, 1, 5000) != 1 || recv(datagramSocket, request, sizeof request, 0) != 256) {
    Fail("no connect request");
  }
  const char* port = std::strrchr(request, '|');
  if (port == nullptr) {
    Fail("a connect request without a port");
  }
  const int stream = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in client = Loopback(static_cast<uint16_t>(std::atoi(port + 1)));
  if (connect(stream, reinterpret_cast<const sockaddr*>(&client), sizeof client) != 0) {
    Fail("cannot connect back");
  }
  char greeting[256] = "LumoConnection|0.01|ServerToClientConnect";
  std::string bytes(greeting, sizeof greeting);
  bytes += std::string(kMessage, sizeof kMessage - 1);
  if (send(stream, bytes.data(), bytes.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(bytes.size())) {
    Fail("cannot send");
  }
  // The stream stays open until the process ends.
}

}  // namespace

int main() {
  static const tStartRecord startRecord = {
      nullptr, "", 1, "Yobbozers", "Yobbozers - Terrace rampage", "LumoYobbieDemo.ini", DebugModeOff,
  };
  if (InitRTS(&startRecord, nullptr) != RTSSuccess) {
    Fail("the run-time system did not start");
  }
  const int datagramSocket = socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (bind(datagramSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(datagramSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    Fail("no datagram socket");
  }
  HostData host{};
  host.address = address;
  std::thread server(PlayServer, datagramSocket);
  server.detach();
  if (OpenConnection(&host, &handlers) == nullptr) {
    Fail("OpenConnection failed");
  }
  // Without a timer the loop waits for messages; the read handler ends it.
  RunRTS();
  Fail("the loop ended without the read event");
}
