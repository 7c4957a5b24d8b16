#pragma once

#include <cstdint>

#include "runtime/Graphics.h"

// The player colour table: eight colours, entry 1 the local player's and
// entry 2 the single-player opponent's. The menu level converts its base
// colours to display colours and publishes the table here; until it has,
// every reader gets the base colours themselves, so colour variants look the
// same before the menus exist (tests, tools).

constexpr int32_t kPlayerColourCount = 8;

// The menu level's base colours (red, green, blue as given to GetColor).
extern const sRGB kBasePlayerColours[kPlayerColourCount];

// Publishes the menu level's converted table (eight display colours, kept by
// the caller for as long as it is published); null withdraws it.
void PublishPlayerColours(const uint32_t* displayColours);
const uint32_t* PublishedPlayerColours();

// The mask colour of colour variant `variant`: its entry of the published
// table, or of the base colours while none is published. False (and black)
// for a variant outside the table.
bool GetPlayerMaskColour(int32_t variant, sRGB& colour);
