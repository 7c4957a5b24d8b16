#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "base/tImage.h"
#include "runtime/DebugLog.h"
#include "runtime/Files.h"
#include "support/DebugLogReader.h"

namespace testing_support {

// A file handle closed at the end of the scope.
class OpenedFile {
 public:
  OpenedFile(const std::string& name, tFileMode mode)
      : handle_(OpenFile(name.c_str(), mode, mode == FileModeRead ? OpenModeExisting : OpenModeCreate,
                         ShareModeDenyNone)) {}
  ~OpenedFile() { Close(); }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;
  FileHandle Get() const { return handle_; }
  void Close() {
    if (handle_ != nullptr) {
      CloseFile(handle_);
      handle_ = nullptr;
    }
  }

 private:
  FileHandle handle_;
};

// Saves through the image's SaveTo into a new file.
inline bool SaveImage(tImage& image, const std::string& name) {
  OpenedFile file(name, FileModeWrite);
  return image.SaveTo(file.Get());
}

// Loads through the image's LoadFrom from an existing file.
inline bool LoadImage(tImage& image, const std::string& name) {
  OpenedFile file(name, FileModeRead);
  return image.LoadFrom(file.Get());
}

// The debug log on for the test, so its lines can be checked.
class ImageLogFixture : public ::testing::Test {
 protected:
  void SetUp() override { SetDebugMode(DebugModeOverwrite); }
  void TearDown() override { SetDebugMode(DebugModeOff); }
  static bool LogHas(const std::string& text) { return ReadDebugLog().find(text) != std::string::npos; }
};

// The image holds no description, name or buffers.
inline bool IsEmptyImage(const tImage& image) {
  for (uint32_t word : image.GetDescription()) {
    if (word != 0) {
      return false;
    }
  }
  return image.GetBits() == nullptr && image.GetAlphaBits() == nullptr && image.GetName() == nullptr;
}

}  // namespace testing_support
