#pragma once

#include <string>
#include <utility>
#include <vector>

// The bytes of a compound archive holding these entries (name, bytes) in
// order: "PACK", the entries' bytes, then the directory.
std::string FuzzArchiveOf(const std::vector<std::pair<std::string, std::string>>& entries);
