#pragma once

// The editor lines of trigger actions. An action lists its lines in a fixed
// order and numbers the same lines from 0 when a value is written back; a
// count line resizes the list it counts and is followed by one line per
// entry. These two walkers keep listing and setting in step: an action
// describes its lines once to each, in the same order.

#include <cstdint>

#include "base/TextUtils.h"
#include "logic/triggers/PropertyText.h"

class LumoStream;
class tStrings;

// Appends the label/value pairs of an action's lines.
class ActionLineLister {
 public:
  ActionLineLister(tStrings& labels, tStrings& values) : labels_(labels), values_(values) {}

  // A line whose value is already text.
  void Line(const char* label, const char* value);
  // "%d".
  void Int(const char* label, int32_t value);
  // "1: true" or "0: false".
  void Bool(const char* label, bool value);
  // The text as it is; an absent text shows as a single blank.
  void Text(const char* label, const char* value);
  // The count line, then one line per entry labelled entryFormat with the
  // entry's index in place of its "%d".
  void List(const char* countLabel, const char* entryFormat, const tIdList& list);

 private:
  tStrings& labels_;
  tStrings& values_;
};

// Writes one line's value back: each call stands for one line, in listing
// order, and the line whose number was asked for takes the text.
class ActionLineSetter {
 public:
  ActionLineSetter(int32_t index, const char* text) : index_(index), text_(text) {}

  // Whether the next line is the one asked for; passes the line either way.
  bool Take();
  // A decimal number (0 when unreadable).
  void Int(int32_t& field);
  // A number, non-zero is true.
  void Bool(bool& field);
  // A copy of the text (none for a null text).
  void Text(tCharStr& field);
  // The count line resizes the list (new entries 0; a count outside 0 to
  // kMaxIdListEntries is logged and changes nothing); the lines after it
  // set the entries.
  void List(tIdList& list);

  // The asked index minus the lines walked: negative once a line took it.
  int32_t Remaining() const { return index_; }
  const char* GetText() const { return text_; }

 private:
  int32_t index_;
  const char* text_;
};

// ---- Stream forms shared by the actions ----

// A one-byte flag stored as a 32-bit integer: written as 0 or 1, read back
// from the lowest byte of the stored value.
bool LoadFlagInteger(LumoStream* stream, bool& flag);
bool SaveFlagInteger(LumoStream* stream, bool flag);
