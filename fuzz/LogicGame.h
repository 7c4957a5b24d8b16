#pragma once

#include <string>

// A small running logic started through the library's functions, as the
// game program starts one: a map, two players, a few things (one inside a
// container), objective ticks and one item of every kind of plan item, near
// and far. The load target loads into it; the seed writer saves it.

// Starts the logic afresh and fills it. variant picks where the items wait
// (0: the near buckets and the long list as a game has them, 1: the far
// ones moved nearer, 2: a game some frames on).
void StartSmallLogic(int variant);

// The running logic as LogicSave writes it; empty when the save fails.
std::string SavedLogic();
