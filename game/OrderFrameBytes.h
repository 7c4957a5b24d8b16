#pragma once

#include <cstdint>
#include <vector>

#include "game/YCommsReader.h"
#include "game/ycOrderListQueue.h"

// The bytes of order frames, shared by the server's and the client's
// exchange.

constexpr uint32_t kOrderFrameHeaderSize = 9;
constexpr uint32_t kOrderHeaderSize = 6;
// The send buffer a running exchange starts with.
constexpr size_t kInitialSendBuffer = 1024;

// Writes the header: type 5, the frame and the order count.
void WriteOrderFrameHeader(uint8_t* to, uint32_t frame, uint32_t count);
// Writes one order (kind, length, payload; 0, 0 for a null order) and
// answers the bytes written.
uint32_t WriteOrder(uint8_t* to, const COrderPackage* package);
// The package of a received order, rebuilt with COrderPackage::Create;
// null for a null order (length 0, whatever its kind).
ycPackagePointer RebuildPackage(const ycReceivedOrder& order);
// Makes the buffer hold at least `size` bytes, with the log line of a
// resize.
void ReserveSendBuffer(std::vector<uint8_t>& buffer, size_t size);
// Bytes one order takes in a frame.
uint32_t OrderBytes(const COrderPackage* package);
