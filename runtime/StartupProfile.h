#pragma once

#include <cstdint>
#include <string>

// How the start-up reads and writes the configuration file named in the
// start record: one reader and one writer of profile entries, by default the
// configuration module's. Tests put a configuration held in memory instead.

// Reads an entry's text; false when it is missing or empty.
using tProfileReader = bool (*)(const char* fileName, const char* section, const char* entry,
                                std::string& value);
// Writes an entry at once; false on failure.
using tProfileWriter = bool (*)(const char* fileName, const char* section, const char* entry,
                                const char* value);

// Null for either returns it to the configuration file.
void SetStartupProfile(tProfileReader reader, tProfileWriter writer);

bool ReadStartupText(const char* fileName, const char* section, const char* entry, std::string& value);
bool WriteStartupText(const char* fileName, const char* section, const char* entry, const char* value);
