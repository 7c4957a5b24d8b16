#include "runtime/Printing.h"

#include <cstdio>
#include <memory>

#include "base/DebugFormat.h"
#include "runtime/BitmapPicture.h"
#include "runtime/Display.h"
#include "runtime/FileNames.h"
#include "runtime/Files.h"
#include "runtime/Folders.h"
#include "runtime/GraphicFiles.h"
#include "runtime/SurfaceRetry.h"
#include "runtime/tClock.h"

using platform::Printer;
using platform::Surface;
using platform::SurfaceRect;
using platform::SurfaceResult;

namespace {

constexpr const char* kDocumentName = "Lumo Viewport";
// Tries at a free file name for a page before the job gives up.
constexpr uint32_t kPageNameTries = 1000;

// Counts the pages of this run, so two pages printed within one second get
// different names.
uint32_t pageCounter = 0;

bool AbortProcedure(int32_t error) {
  if (error != 0) {
    DebugPrint("AbortProc() Aborting the print job (Error=%i)\n", error);
    return false;
  }
  return true;
}

// The port's folder: a full path as given, otherwise inside the program
// folder; made when missing.
bool PortFolder(const std::string& port, std::string& folder) {
  folder = FolderFileName(FolderProgram, port.c_str(), "");
  if (folder.empty() || folder.back() != '\\') {
    folder += '\\';
  }
  return CheckFile(folder.c_str()) || CreateFolder(folder.c_str());
}

// "<year><month><day>-<hour><minute><second>-<counter>.bmp" that does not
// exist yet.
bool FreePageName(const std::string& folder, std::string& name) {
  tClock clock{};
  GetLocalClock(&clock);
  for (uint32_t attempt = 0; attempt < kPageNameTries; ++attempt) {
    char fileName[64] = "";
    std::snprintf(fileName, sizeof(fileName), "%04u%02u%02u-%02u%02u%02u-%03u.bmp", unsigned{clock.Year},
                  unsigned{clock.Month}, unsigned{clock.Day}, unsigned{clock.Hour}, unsigned{clock.Minute},
                  unsigned{clock.Second}, ++pageCounter);
    name = folder + fileName;
    if (!CheckFile(name.c_str())) {
      return true;
    }
  }
  return false;
}

int32_t PixelsPerMetre(int32_t dotsPerInch) { return static_cast<int32_t>(int64_t{dotsPerInch} * 10000 / 254); }

// Writes the finished page into the port folder.
bool WritePage(const char* prefix, const Printer& printer, const tBitmapPicture& page, const void* surface) {
  std::string folder;
  std::string name;
  if (!PortFolder(printer.Port(), folder) || !FreePageName(folder, name)) {
    DebugPrint("%s Cannot create file (Name=%s, Item=%p)\n", prefix, folder.c_str(), surface);
    return false;
  }
  return WriteBitmapPicture(prefix, name.c_str(), surface, page,
                            PixelsPerMetre(printer.Capabilities().dotsPerInchX));
}

// Holds the surface's device context for the job and releases it on every
// way out.
class SurfaceContext {
 public:
  SurfaceContext(const char* prefix, Surface& surface) : prefix_(prefix), surface_(surface) {}
  ~SurfaceContext() {
    if (!held_) {
      return;
    }
    const SurfaceResult result = surface_.ReleaseDeviceContext();
    if (result != SurfaceResult::Ok) {
      DebugPrint("%s Cannot release the device context the DirectDraw surface (Surface=%p, Error=%X)\n", prefix_,
                 static_cast<void*>(&surface_), platform::ResultCode(result));
    }
  }
  SurfaceContext(const SurfaceContext&) = delete;
  SurfaceContext& operator=(const SurfaceContext&) = delete;
  SurfaceResult Acquire() {
    const SurfaceResult result = RetryOnSurface(surface_, [this] { return surface_.AcquireDeviceContext(); });
    held_ = result == SurfaceResult::Ok;
    return result;
  }

 private:
  const char* prefix_;
  Surface& surface_;
  bool held_ = false;
};

// Opens the default printer's device context; null after the log lines.
std::unique_ptr<Printer> OpenDefaultPrinter(const char* prefix, const void* surface) {
  tPrinterEntry entry;
  if (!SplitPrinterEntry(platform::DefaultPrinterEntry(), entry)) {
    DebugPrint("%s Cannot read the default printer from Win.Ini (Surface=%p)\n", prefix, surface);
    return nullptr;
  }
  DebugPrint("%s Printing DirectDraw surface... (Surface=%p, Printer=%s, Driver=%s, Port=%s)\n", prefix, surface,
             entry.Printer.c_str(), entry.Driver.c_str(), entry.Port.c_str());
  std::unique_ptr<Printer> printer = Printer::Open(entry.Driver, entry.Printer, entry.Port);
  if (!printer) {
    DebugPrint("%s CreateDC() failed (Driver=%s, Device=%s, Output=%s, InitData=%p)\n", prefix, entry.Driver.c_str(),
               entry.Printer.c_str(), entry.Port.c_str(), nullptr);
    DebugPrint("%s Cannot create a the device context of the default printer (Surface=%p)\n", prefix, surface);
    return nullptr;
  }
  if (!printer->Capabilities().canBlitBitmaps) {
    DebugPrint("%s The printer is not able to display graphics (Surface=%p)\n", prefix, surface);
    return nullptr;
  }
  if (!printer->SetAbortProcedure(AbortProcedure)) {
    DebugPrint("%s Cannot set the AbortProc() needed to monitor the print job (Surface=%p)\n", prefix, surface);
    return nullptr;
  }
  return printer;
}

// Draws the source rectangle of the surface onto a white page; false after
// the log line when it cannot.
bool DrawPage(const char* prefix, Surface& surface, const SurfaceRect& source, const Printer& printer,
              tBitmapPicture& page) {
  const platform::PrinterCapabilities& capabilities = printer.Capabilities();
  tPrintGeometry geometry;
  tBitmapPicture picture;
  const bool drawn = ComputePrintGeometry(capabilities, source.Width(), source.Height(),
                                          platform::kScreenDotsPerInch, platform::kScreenDotsPerInch, geometry) &&
                     MakePicture(capabilities.horizontalResolution, capabilities.verticalResolution, 0xFF, page) &&
                     ReadSurfacePicture(surface, source, picture) == SurfaceResult::Ok;
  if (drawn) {
    StretchPicture(picture, {0, 0, picture.Width, picture.Height}, page,
                   {geometry.Left, geometry.Top, geometry.Left + geometry.Width, geometry.Top + geometry.Height});
  }
  DebugPrint(drawn ? "%s DirectDraw surface printed (Surface=%p, PaperSize=%i:%i, DestBounds=%i:%i:%i:%i, "
                     "SourceBounds=%i:%i:%i:%i)\n"
                   : "%s Cannot stretch blit the DirectDraw surface to the printer (Surface=%p, PaperSize=%i:%i, "
                     "DestBounds=%i:%i:%i:%i, SourceBounds=%i:%i:%i:%i)\n",
             prefix, static_cast<void*>(&surface), geometry.PaperWidth, geometry.PaperHeight, geometry.Left,
             geometry.Top, geometry.Width, geometry.Height, source.left, source.top, source.Width(),
             source.Height());
  return drawn;
}

// The print job behind PrintGraphic and PrintViewport.
bool PrintSurface(const char* prefix, Surface* surface, const SurfaceRect& source) {
  if (surface == nullptr) {
    DebugPrint("%s Null pointer to the DirectDraw surface specified\n", prefix);
    return false;
  }
  std::unique_ptr<Printer> printer = OpenDefaultPrinter(prefix, surface);
  if (!printer) {
    return false;
  }
  SurfaceContext context(prefix, *surface);
  const SurfaceResult acquired = context.Acquire();
  if (acquired != SurfaceResult::Ok) {
    DebugPrint("%s Cannot get the device context of the DirectDraw surface (Surface=%p, Error=%X)\n", prefix,
               static_cast<void*>(surface), platform::ResultCode(acquired));
    return false;
  }
  if (!printer->StartDocument(kDocumentName)) {
    DebugPrint("%s Cannot start the print job (Surface=%p)\n", prefix, static_cast<void*>(surface));
    return false;
  }
  if (!printer->StartPage()) {
    DebugPrint("%s Cannot prepare the printer to accept data (Surface=%p)\n", prefix, static_cast<void*>(surface));
    return false;
  }
  tBitmapPicture page;
  const bool drawn = DrawPage(prefix, *surface, source, *printer, page);
  // The page counts as printed only once its file is written.
  if (!printer->EndPage() || !drawn || !WritePage(prefix, *printer, page, surface)) {
    DebugPrint("%s Cannot advance to a new page (Surface=%p)\n", prefix, static_cast<void*>(surface));
    return false;
  }
  if (!printer->EndDocument()) {
    DebugPrint("%s Cannot end the print job (Surface=%p)\n", prefix, static_cast<void*>(surface));
    return false;
  }
  return true;
}

}  // namespace

bool SplitPrinterEntry(const std::string& entry, tPrinterEntry& parts) {
  const size_t firstComma = entry.find(',');
  if (firstComma == std::string::npos) {
    return false;
  }
  const size_t secondComma = entry.find(',', firstComma + 1);
  if (secondComma == std::string::npos) {
    return false;
  }
  parts.Printer = entry.substr(0, firstComma);
  parts.Driver = entry.substr(firstComma + 1, secondComma - firstComma - 1);
  parts.Port = entry.substr(secondComma + 1);
  return !parts.Printer.empty() && !parts.Driver.empty() && !parts.Port.empty();
}

bool ComputePrintGeometry(const platform::PrinterCapabilities& printer, int32_t sourceWidth, int32_t sourceHeight,
                          int32_t surfaceDotsPerInchX, int32_t surfaceDotsPerInchY, tPrintGeometry& geometry) {
  const int64_t paperWidth = int64_t{printer.horizontalResolution} - 8 * int64_t{printer.physicalOffsetX};
  const int64_t paperHeight = int64_t{printer.verticalResolution} - 8 * int64_t{printer.physicalOffsetY};
  geometry.PaperWidth = static_cast<int32_t>(paperWidth);
  geometry.PaperHeight = static_cast<int32_t>(paperHeight);
  if (surfaceDotsPerInchX <= 0 || surfaceDotsPerInchY <= 0 || paperWidth <= 0 || paperHeight <= 0) {
    return false;
  }
  const int64_t width1 = int64_t{sourceWidth} * printer.dotsPerInchX / surfaceDotsPerInchX;
  const int64_t height1 = int64_t{sourceHeight} * printer.dotsPerInchY / surfaceDotsPerInchY;
  if (width1 <= 0 || height1 <= 0) {
    return false;
  }
  const double factor = width1 < height1 ? static_cast<double>(paperHeight) / static_cast<double>(height1)
                                         : static_cast<double>(paperWidth) / static_cast<double>(width1);
  int64_t width2 = static_cast<int64_t>(factor * static_cast<double>(width1));
  int64_t height2 = static_cast<int64_t>(factor * static_cast<double>(height1));
  if (width2 > paperWidth) {
    width2 = paperWidth;
    height2 = paperWidth * height1 / width1;
  } else if (height2 > paperHeight) {
    height2 = paperHeight;
    width2 = paperHeight * width1 / height1;
  }
  geometry.Width = static_cast<int32_t>(width2);
  geometry.Height = static_cast<int32_t>(height2);
  geometry.Left = static_cast<int32_t>(paperWidth / 2 - width2 / 2 + 4 * int64_t{printer.physicalOffsetX});
  geometry.Top = static_cast<int32_t>(paperHeight / 2 - height2 / 2 + 4 * int64_t{printer.physicalOffsetY});
  return geometry.Width > 0 && geometry.Height > 0;
}

bool PrintGraphic(GraphicHandle graphic) {
  constexpr const char* prefix = "PrintGraphic()";
  Surface* surface = SurfaceOf(graphic);
  const SurfaceRect source = surface != nullptr ? surface->Bounds() : SurfaceRect{};
  return PrintSurface(prefix, surface, source);
}

bool PrintViewport(ViewportHandle viewport) {
  constexpr const char* prefix = "PrintViewport()";
  if (viewport == nullptr) {
    DebugPrint("%s Null pointer to the viewport specified\n", prefix);
    return false;
  }
  return PrintSurface(prefix, RenderBuffer(), ViewportArea(*ViewportOf(viewport)));
}
