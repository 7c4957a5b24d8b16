// The object stream: the input is the bytes of a memory stream. They are read
// as one object record, alone and for an owning list: a record of the probe
// class (every generic field type, an embedded object and list items) or of
// any other registered class. A loaded object must save, and its saved record
// must load again. Then the same bytes are read as a run of length-prefixed
// texts and blocks, and as lines and C texts, the way those readers take them.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/LumoList.h"
#include "base/LumoMemoryStream.h"
#include "base/LumoObject.h"
#include "base/TextUtils.h"
#include "base/tBuffer.h"
#include "base/tString.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/StreamProbe.h"

namespace {

// A stream that borrows a copy of the input. A memory stream needs a block
// even for no bytes, so an empty input gets one byte that is never read.
class InputStream {
 public:
  InputStream(const uint8_t* data, size_t size) : bytes_(data, data + size) {
    bytes_.push_back(0);
    opened_ = size == 0 || stream.OpenBuffer(bytes_.data(), static_cast<uint32_t>(size), 1, 0);
  }
  bool Empty() const { return bytes_.size() == 1; }
  bool Opened() const { return opened_; }

  LumoMemoryStream stream;

 private:
  std::vector<uint8_t> bytes_;
  bool opened_ = false;
};

// Saves the object into a new growing stream and loads the record back.
void SaveAndReload(LumoObject* object) {
  LumoMemoryStream saved;
  FuzzRequire(saved.OpenNew(64, 1, 0) && saved.SetGrowth(256) != 0, "a memory stream opens for writing");
  FuzzRequire(object->SaveObject(&saved, 0), "a loaded object saves");
  const int32_t end = saved.GetPosition();
  FuzzRequire(saved.SetPosition(0) == 0, "a saved stream winds back");
  LumoObject* reloaded = LoadObject(&saved, nullptr);
  FuzzRequire(reloaded != nullptr, "a saved record loads again");
  FuzzRequire(saved.GetPosition() == end, "a saved record is read to its end");
  FuzzRequire(FindClass(reloaded->GetClassName()) == FindClass(object->GetClassName()),
              "a saved record loads as its class");
  DestroyObject(reloaded);
}

void LoadRecords(const uint8_t* data, size_t size) {
  InputStream input(data, size);
  if (input.Empty() || !input.Opened()) {
    return;
  }
  LumoObject* loaded = LoadObject(&input.stream, nullptr);
  if (loaded != nullptr) {
    SaveAndReload(loaded);
    DestroyObject(loaded);
  }
  // Again into an owner, which takes the object as one of its items.
  input.stream.SetPosition(0);
  LumoList owner;
  LoadObject(&input.stream, &owner);
}

void ReadTextsAndBlocks(const uint8_t* data, size_t size) {
  InputStream input(data, size);
  if (input.Empty() || !input.Opened()) {
    return;
  }
  LumoStream& stream = input.stream;
  tCharStr text = nullptr;
  tString string;
  tBuffer buffer;
  void* block = nullptr;
  uint32_t blockSize = 0;
  while (stream.ReadCharStr(text) && stream.ReadString(string) && stream.ReadBuffer(buffer) &&
         stream.ReadData(block, blockSize)) {
  }
  FreeCharStr(text);
  FreeBlock(block);
}

// Each line reader runs over the whole input; a reader that stops moving
// ends its run.
template <typename ReadOne>
void ReadAll(const uint8_t* data, size_t size, ReadOne readOne) {
  InputStream input(data, size);
  if (input.Empty() || !input.Opened()) {
    return;
  }
  LumoStream& stream = input.stream;
  char line[64];
  for (int32_t before = stream.GetPosition(); before >= 0 && static_cast<size_t>(before) < size;) {
    readOne(stream, line);
    const int32_t after = stream.GetPosition();
    if (after <= before) {
      break;
    }
    before = after;
  }
}

void ReadLines(const uint8_t* data, size_t size) {
  ReadAll(data, size, [](LumoStream& stream, char (&line)[64]) { stream.ReadLine(line, sizeof line); });
  ReadAll(data, size, [](LumoStream& stream, char (&line)[64]) { stream.ReadCText(line, sizeof line); });
  ReadAll(data, size, [](LumoStream& stream, char (&line)[64]) { stream.ReadCTextBytewise(line, sizeof line); });
  ReadAll(data, size, [](LumoStream& stream, char (&line)[64]) {
    stream.ReadLineBounded(line, sizeof line, true);
  });
  ReadAll(data, size, [](LumoStream& stream, char (&line)[64]) {
    stream.ReadLineBounded(line, sizeof line, false);
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadRecords(data, size);
  ReadTextsAndBlocks(data, size);
  ReadLines(data, size);
  return 0;
}
