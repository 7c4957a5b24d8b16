#pragma once

#include <cstdint>
#include <string>

#include "base/LumoExport.h"
#include "platform/Printer.h"
#include "runtime/Graphics.h"
#include "runtime/Viewports.h"

// Printing on the default printer. The picture is scaled to fill the
// printable area as far as its shape allows and centred on it; each printed
// page is written as a 24-bit BMP file into the printer's port folder (for
// the stand-in printer the folder "prints" of the program folder), named
// after the time of printing and a counter.

// Prints the whole graphic; true when the page was written.
LUMOGAME_API bool PrintGraphic(GraphicHandle graphic);
// Prints the viewport's rectangle of the render buffer.
LUMOGAME_API bool PrintViewport(ViewportHandle viewport);

// ---- Inside the run-time system ----

// The default printer entry "printer,driver,port" split at its first two
// commas; false for an empty printer or driver, a missing comma or an empty
// port.
struct tPrinterEntry {
  std::string Printer;
  std::string Driver;
  std::string Port;
};
bool SplitPrinterEntry(const std::string& entry, tPrinterEntry& parts);

// Where a picture lands on the page, in printer pixels from the printable
// area's top-left corner.
struct tPrintGeometry {
  int32_t PaperWidth = 0;  // printable width W and height H
  int32_t PaperHeight = 0;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};
// The source's size is carried from the surface's dots per inch to the
// printer's, then scaled by one factor to fill the printable area (which
// keeps four times the physical offset from each edge) along the side that
// is longer, cut back when the other side would overflow, and centred.
// Integer conversions truncate toward zero. False when a size comes to 0.
bool ComputePrintGeometry(const platform::PrinterCapabilities& printer, int32_t sourceWidth, int32_t sourceHeight,
                          int32_t surfaceDotsPerInchX, int32_t surfaceDotsPerInchY, tPrintGeometry& geometry);
