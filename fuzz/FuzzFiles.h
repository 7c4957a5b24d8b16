#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Files for the fuzz targets whose readers take a file name. Every input is
// written into one private scratch folder of the process, which is removed
// when the process ends normally.

// Writes the bytes into the scratch folder under the file name given and
// answers the game name (drive, colon, backslashes) that reaches that file.
// A failure here is a broken machine, not a finding: it ends the process.
std::string WriteFuzzFile(const char* fileName, const uint8_t* data, size_t size);

// The game name of a file in the scratch folder, written or not.
std::string FuzzFileName(const char* fileName);
