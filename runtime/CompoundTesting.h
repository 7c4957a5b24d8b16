#pragma once

#include <cstdint>

// For the archive tests only: every write that the archive code makes into
// an archive (step "entry bytes", "record", "directory", "header", "slot")
// and every point where it hands its writes to the system (step "... written",
// "entry copied", "entry moved", with 0 bytes) is announced here first, so a
// test can count the bytes written or end the process at any of them. Null
// for none.
using CompoundWriteObserver = void (*)(const char* step, uint32_t bytes);
void SetCompoundWriteObserver(CompoundWriteObserver observer);
