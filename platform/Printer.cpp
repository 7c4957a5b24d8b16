#include "platform/Printer.h"

#include <utility>

namespace platform {

namespace {

constexpr const char* kPrinterName = "Lumo Printer";
constexpr const char* kDriverName = "LumoPrint";
constexpr const char* kPort = "prints";

struct PrinterSettings {
  std::string entry = std::string(kPrinterName) + "," + kDriverName + "," + kPort;
  PrinterCapabilities capabilities;
};

PrinterSettings& Settings() {
  static PrinterSettings settings;
  return settings;
}

}  // namespace

std::string DefaultPrinterEntry() { return Settings().entry; }

Printer::Printer(PrinterCapabilities capabilities, std::string port)
    : capabilities_(capabilities), port_(std::move(port)) {}

std::unique_ptr<Printer> Printer::Open(const std::string& driver, const std::string& device,
                                       const std::string& port) {
  const std::string entry = Settings().entry;
  if (driver.empty() || device.empty() || entry.rfind(device + "," + driver + ",", 0) != 0) {
    return nullptr;
  }
  return std::unique_ptr<Printer>(new Printer(Settings().capabilities, port));
}

bool Printer::SetAbortProcedure(PrintAbortProcedure procedure) {
  abortProcedure_ = procedure;
  return procedure != nullptr;
}

bool Printer::StartDocument(const std::string& title) {
  if (inDocument_ || title.empty()) {
    return false;
  }
  inDocument_ = true;
  pagesPrinted_ = 0;
  return true;
}

bool Printer::StartPage() {
  if (!inDocument_ || inPage_) {
    return false;
  }
  inPage_ = true;
  return true;
}

bool Printer::EndPage() {
  if (!inPage_) {
    return false;
  }
  inPage_ = false;
  if (abortProcedure_ != nullptr && !abortProcedure_(0)) {
    inDocument_ = false;
    return false;
  }
  ++pagesPrinted_;
  return true;
}

bool Printer::EndDocument() {
  if (!inDocument_ || inPage_) {
    return false;
  }
  inDocument_ = false;
  return true;
}

namespace testing {

void SetDefaultPrinterEntry(const std::string& entry) { Settings().entry = entry; }

void SetPrinterCapabilities(const PrinterCapabilities& capabilities) { Settings().capabilities = capabilities; }

void ResetPrinter() { Settings() = PrinterSettings(); }

}  // namespace testing

}  // namespace platform
