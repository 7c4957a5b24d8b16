#include "RecordingObjects.h"

#include "support/DebugLogReader.h"

namespace object_model_testing {

std::string ObjectModelTest::StopLog() {
  SetDebugMode(DebugModeOff);
  return testing_support::ReadDebugLog();
}

}  // namespace object_model_testing
