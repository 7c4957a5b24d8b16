#pragma once

#include <cstdint>

#include "base/LumoExport.h"

// The configuration file: one sectioned text file of keys and values per
// game. Sections and entries compare case-insensitively. Every handle reads
// the file as it is on disk and every write replaces the file at once, so
// several handles on one file always see each other's values.
//
// A caller presets each value with its default. On a handle opened writable a
// missing or empty entry is written into the file with that default; on a
// read-only handle a missing entry leaves an integer as it was, empties a text
// and makes a boolean false.

struct tConfigurationRecord;
using ConfigurationHandle = tConfigurationRecord*;

// ".ini" is appended when the name's last component has no extension. The file
// need not exist. The handle belongs to the caller until CloseConfiguration.
LUMOGAME_API ConfigurationHandle OpenConfiguration(const char* name, bool writable);
LUMOGAME_API bool CloseConfiguration(ConfigurationHandle configuration);
// Writes reach the file at once, so there is nothing left to flush; true for
// any open handle.
LUMOGAME_API bool FlushConfiguration(ConfigurationHandle configuration);

// Reads an entry's text into a buffer of size bytes (longer texts are cut).
// On a writable handle the buffer holds the caller's default on entry.
LUMOGAME_API bool ReadConfigurationStr(ConfigurationHandle configuration, const char* section,
                                       const char* entry, char* buffer, uint32_t size);
// Reads a decimal integer: blanks and tabs, an optional "-", blanks and tabs,
// digits. True when the digits end the text or are followed by a blank or tab.
LUMOGAME_API bool ReadConfigurationInt(ConfigurationHandle configuration, const char* section,
                                       const char* entry, int32_t& value);
// Reads "True"/"On" or "False"/"Off" (any case), or a number (0 is false). A
// text that is neither, or a missing entry, gives false.
LUMOGAME_API bool ReadConfigurationBool(ConfigurationHandle configuration, const char* section,
                                        const char* entry, bool& value);

// Write at once; a null text removes the entry.
LUMOGAME_API bool WriteConfigurationStr(ConfigurationHandle configuration, const char* section,
                                        const char* entry, const char* text);
LUMOGAME_API bool WriteConfigurationInt(ConfigurationHandle configuration, const char* section,
                                        const char* entry, int32_t value);
LUMOGAME_API bool WriteConfigurationBool(ConfigurationHandle configuration, const char* section,
                                         const char* entry, bool value);

// The name of the file a handle reads, with ".ini" appended as needed; null
// for a null handle.
const char* GetConfigurationName(ConfigurationHandle configuration);
