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
// A read-only integer: the value is left as it was when the entry is missing
// or holds no number.
void ReadStartupInt(const char* fileName, const char* section, const char* entry, int32_t& value);
// A writable integer: a missing entry is written with the value as default.
void ReadStartupIntWritable(const char* fileName, const char* section, const char* entry, int32_t& value);
// A read-only boolean: "True"/"On" or a non-zero number; a missing entry
// gives the default.
bool ReadStartupBool(const char* fileName, const char* section, const char* entry, bool defaultValue);
