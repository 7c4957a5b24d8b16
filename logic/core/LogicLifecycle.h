#pragma once

// The functions through which the game program creates, starts, steps,
// saves, loads and stops the one logic of the library, attaches its
// listeners, sets up a multi-player game and places single things.
//
// They are exported with C linkage, so a program that loads the library
// finds them by their plain names. Without a logic (before LogicStart or a
// successful LogicLoad, after LogicStop) every function but LogicStart,
// LogicStop and LogicLoad does nothing and answers false or null. Failures
// inside the logic are logged and passed on to the caller as exceptions.

#include <cstdint>

#include "base/LumoExport.h"
#include "base/tCollection.h"

class ContainerInfo;
class LumoStream;
class ThingInfo;
class UnitInfo;
class YLEventListener;

// The kinds of multi-player game (0-6): score on fan units, the cup, beer,
// girls, dope, pubs, strategic.
using tMultiPlayerGameType = int32_t;

extern "C" {

// A new logic, or the existing one reset in place; either way its random
// generator starts again from state 0, as the library's does, so every
// machine of a game and every replay draws the same. Answers true.
COGITO_API bool LogicStart();
// Destroys the logic; true also without one.
COGITO_API bool LogicStop();
// A new map grid of that size; false for a size the grid refuses.
COGITO_API bool LogicCreate(int32_t width, int32_t height);
// The grid takes the new size and the things on the map are placed again.
COGITO_API bool LogicResize(int32_t width, int32_t height);
// A player with that id (the police for id 3).
COGITO_API bool LogicPlayer(int32_t id);
// Appends a listener; the logic never frees it.
COGITO_API bool LogicListener(YLEventListener* listener);
// One frame; its duration goes to GetLastComputeTime.
COGITO_API bool LogicCompute();
// The logic as one object record on the stream.
COGITO_API bool LogicSave(LumoStream* stream);
// Reads a logic from the stream into a new object. On success it replaces
// the running one, takes over its listeners and tells them what it holds.
// A stream without a logic, or one that cannot be read, answers false and
// the running logic goes on as before, listeners, process-wide state and
// all; an exception does the same, is logged and passes on.
COGITO_API bool LogicLoad(LumoStream* stream);
// Settings: crews, money, time limit (minutes), score limit; positions: the
// flattened (x, y) start pairs, then the cup's. Seeds the logic's random
// generator with 666 afterwards.
COGITO_API void LogicSetupMultiPlayerGame(tMultiPlayerGameType type, int32_t players, tCollection<int32_t>* settings,
                                          tCollection<int32_t>* positions);
// Hands a knowledge map read from the stream to the logic map; anything
// else read is dropped.
COGITO_API void ReplacePathPlanning(LumoStream* stream);
// A thing made from a level's type keyword for the owner; its record, or
// null when the keyword makes nothing.
COGITO_API ThingInfo* CreateThing(const char* keyword, int32_t x, int32_t y, int32_t z, uint8_t orientation,
                                  int32_t owner);
// Removes the thing of the record from the logic.
COGITO_API void DestroyThing(ThingInfo* info);
COGITO_API bool MoveThing(ThingInfo* info, int32_t x, int32_t y, int32_t z, uint8_t orientation);
// Puts the unit into the container thing.
COGITO_API bool EnterThing(UnitInfo* unit, ContainerInfo* container);
// Lets the unit out of its container to that place.
COGITO_API bool LeaveThing(UnitInfo* unit, int32_t x, int32_t y, int32_t z, uint8_t orientation);
// Stores the string-library index of the keyword as the record's type.
COGITO_API void RenameThing(ThingInfo* info, const char* keyword);

}  // extern "C"

// What the last LogicCompute took, in milliseconds of the run-time clock;
// for the game's frame-speed display, never read by the logic.
uint32_t GetLastComputeTime();
