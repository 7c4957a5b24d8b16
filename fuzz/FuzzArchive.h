#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// The bytes of a compound archive holding these entries (name, bytes) in
// order: "PACK", the entries' bytes, then the directory.
std::string FuzzArchiveOf(const std::vector<std::pair<std::string, std::string>>& entries);

class LumoObject;

// Stores the bytes as the entry entryName of a fresh global compound archive,
// with a copy behind it (so a read past the entry's end finds real bytes),
// loads the entry by name from the folder and answers what outcomeOf makes of
// the loaded object (null when the load failed) while the archive is open.
std::string OutcomeOfGlobalArchiveEntry(const uint8_t* data, size_t size, const char* entryName, int32_t folder,
                                        const std::function<std::string(LumoObject*)>& outcomeOf);
