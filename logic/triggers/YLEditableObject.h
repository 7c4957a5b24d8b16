#pragma once

#include <cstddef>
#include <cstdint>

#include "base/LumoExport.h"
#include "base/LumoObject.h"

class tStrings;

// The root of every object the level editor edits (plan items, triggers,
// trigger conditions and actions). The editor sees such an object as a flat
// list of text properties: it lists labels and values and writes a changed
// value back by its position in the list. The order of these operations is
// part of the interface with the editor.
class YLEditableObject : public LumoObject {
 public:
  // The buffer GetRecordString and the countdown labels write into holds at
  // least this many bytes, terminator included.
  static constexpr size_t kRecordStringSize = 256;

  const char* GetClassName() const override;

  // Appends one label and one value per property, the base class's first.
  // The base has no properties.
  virtual void ListProperties(tStrings& labels, tStrings& values);
  // Sets the property at index from the text and answers index minus the
  // number of properties this class and its bases own: negative when some
  // class of the chain took it, else the position among a subclass's own.
  COGITO_API virtual int32_t SetProperty(int32_t index, const char* text);
  // The object's one-line text, cut to size bytes.
  COGITO_API virtual void GetRecordString(char* buffer, size_t size);
};
