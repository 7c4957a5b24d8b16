#pragma once

#include <cstdint>

#include "base/TextUtils.h"
#include "base/tString.h"
#include "logic/triggers/PropertyText.h"

class tStrings;

// Walks the editor lines of a trigger action in their order, once for both
// sides of the editor protocol: listing appends each line's label and value,
// setting counts the lines and lets the one at the wanted position take the
// text. An action describes its lines once, so the listing and the setter
// numbering can never drift apart. Lines after a changed count or switch are
// counted with the new state, so Remainder is the position minus the lines
// the action has after the change.
class ActionPropertyLines {
 public:
  // Listing: each line is appended to the two lists.
  ActionPropertyLines(tStrings& labels, tStrings& values);
  // Setting: the line at position (0 = the action's first own line) takes
  // the text; a null text reads as 0, false or no text.
  ActionPropertyLines(int32_t position, const char* text);

  bool IsListing() const { return Labels != nullptr; }

  // One line. Listing appends it and answers false; setting answers true
  // for the line at the wanted position, whose caller then reads Text().
  bool Line(const char* label, const tString& value);
  // The same with a label formatted with an index ("   type[%d]").
  bool IndexedLine(const char* labelFormat, int32_t index, const tString& value);

  // Lines that set their field themselves; each answers true when it was
  // the line set.
  bool Int(const char* label, int32_t& field);
  bool Bool(const char* label, bool& field);
  // A text line: listed as it is, an absent text as a single blank.
  bool String(const char* label, tCharStr& field);
  // A count line, then one line per entry labelled with the entry's index.
  // Setting follows SetIdListProperty: the count resizes the list (a count
  // outside 0..kMaxIdListEntries is logged and changes nothing), an entry
  // line changes that entry.
  bool IdList(const char* countLabel, const char* entryFormat, tIdList& list);
  // A line showing entry `index` of a list that holds a fixed number of
  // entries (absent entries show 0); setting it grows the list up to it.
  bool ListEntry(const char* label, tIdList& list, int32_t index);

  // The text being set.
  const char* Text() const { return SetText; }
  // What SetProperty answers: the position minus the lines walked, so
  // negative once the wanted line was among them.
  int32_t Remainder() const { return Position - Count; }

 private:
  tStrings* Labels = nullptr;
  tStrings* Values = nullptr;
  int32_t Position = 0;
  const char* SetText = nullptr;
  int32_t Count = 0;
};
