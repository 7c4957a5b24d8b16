#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// ---- Printing ----
// The stand-in for the system's printers: one default printer, "Lumo
// Printer", whose port is the folder "prints". The printer keeps the state of
// a print job and tells its page geometry; the run-time system draws each
// page in memory and writes it as a picture file into the port folder.

// What the printer's device context tells about the page.
struct PrinterCapabilities {
  int32_t horizontalResolution = 2480;  // printable width, pixels (A4 at 300 dots per inch)
  int32_t verticalResolution = 3508;    // printable height, pixels
  int32_t dotsPerInchX = 300;
  int32_t dotsPerInchY = 300;
  int32_t physicalOffsetX = 0;  // unprintable margin at the left, pixels
  int32_t physicalOffsetY = 0;  // unprintable margin at the top, pixels
  bool canBlitBitmaps = true;
};

// The dots per inch of the screen's device context.
constexpr int32_t kScreenDotsPerInch = 96;

// The system's default printer as "printer,driver,port".
std::string DefaultPrinterEntry();

// Called while a page is finished; error is 0 unless the job broke. Answers
// whether the job goes on.
using PrintAbortProcedure = bool (*)(int32_t error);

// A device context on a printer, for one job at a time.
class Printer {
 public:
  // Null unless driver and device name the default printer.
  static std::unique_ptr<Printer> Open(const std::string& driver, const std::string& device,
                                       const std::string& port);

  const PrinterCapabilities& Capabilities() const { return capabilities_; }
  const std::string& Port() const { return port_; }

  bool SetAbortProcedure(PrintAbortProcedure procedure);
  // A job and its pages: StartDocument, then StartPage and EndPage per page,
  // then EndDocument. Each answers false when called out of turn; EndPage
  // also when the abort procedure stops the job.
  bool StartDocument(const std::string& title);
  bool StartPage();
  bool EndPage();
  bool EndDocument();
  bool InPage() const { return inPage_; }
  int32_t PagesPrinted() const { return pagesPrinted_; }

 private:
  Printer(PrinterCapabilities capabilities, std::string port);

  PrinterCapabilities capabilities_;
  std::string port_;
  PrintAbortProcedure abortProcedure_ = nullptr;
  bool inDocument_ = false;
  bool inPage_ = false;
  int32_t pagesPrinted_ = 0;
};

}  // namespace platform

// Hooks for tests only.
namespace platform::testing {

// Replaces the default printer entry (as a system with another printer
// configured, or a damaged one, would answer).
void SetDefaultPrinterEntry(const std::string& entry);
// Replaces the capabilities of printers opened from now on.
void SetPrinterCapabilities(const PrinterCapabilities& capabilities);
// Back to the stand-in printer.
void ResetPrinter();

}  // namespace platform::testing
