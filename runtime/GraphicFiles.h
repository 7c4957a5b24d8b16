#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/LumoExport.h"
#include "runtime/Files.h"
#include "runtime/Folders.h"
#include "runtime/Graphics.h"
#include "runtime/Viewports.h"

// Graphics from BMP files and graphics saved as BMP files.
//
// Names: a name whose second character is ":" is a full path. Loading takes
// other names in the graphics folder, saving in the program folder (the
// current folder at start-up); ".bmp" is added to a name without extension.

// ---- Loading ----

// Reads the global compound archive's entry of that name (not for full
// paths), or else the file, with the run-time's own BMP reader, into a new
// graphic in the display's format. With the GDI setting on, an archive entry
// must also start with "BM" and give its own size as the file size. Null,
// logged, on failure.
LUMOGAME_API GraphicHandle LoadGraphic(const char* name);

// ---- Saving (24-bit BMP files with bottom-up rows, whatever the display) ----

LUMOGAME_API bool SaveGraphic(GraphicHandle graphic, const char* name);
// A rectangle of the graphic; parts outside the graphic are saved black.
LUMOGAME_API bool SavePartialGraphic(GraphicHandle graphic, const char* name, int32_t left, int32_t top,
                                     int32_t width, int32_t height);
// The viewport's rectangle of the render buffer.
LUMOGAME_API bool SaveViewport(ViewportHandle viewport, const char* name);

// ---- Inside the run-time system ----

// LoadGraphic with the caller's name ("LoadCursor()") in its log lines.
GraphicHandle LoadGraphicFor(const char* prefix, const char* name);
// True for a name whose second character is ":".
bool IsFullPathName(const char* name);
// A full path as given, any other name inside the folder; the extension is
// added when the name has none. Without a known folder the name stays
// relative to the current folder.
std::string FolderFileName(tFolderType folder, const char* name, const char* extension);
// When the global compound archive holds the entry, runs read with the
// archive's file placed at the entry's data, the entry's offset and size,
// then puts the file's position back; answers read's result. False, with
// found false, when there is no archive or no such entry.
bool ReadGlobalArchiveEntry(const std::string& entryName,
                            const std::function<bool(FileHandle file, uint32_t offset, uint32_t size)>& read,
                            bool& found);
