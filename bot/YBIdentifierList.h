#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class LumoStream;

// An owned, growable list of 32-bit identifiers (units, things, sectors or
// vehicles) that objectives, tasks and propositions keep. Its stream form is
// a signed 32-bit count (-1 for no list) and the values, each big-endian;
// its text form lists the values separated by "," with a run of consecutive
// values a, a+1, ..., b written "a-b".
class YBIdentifierList {
 public:
  // A text range adds at most this many values, so a level's "1-2000000000"
  // cannot make the game allocate gigabytes.
  static constexpr int64_t kMaxRangeValues = 4096;

  YBIdentifierList() = default;
  explicit YBIdentifierList(std::vector<int32_t> values) : Values(std::move(values)) {}

  int32_t Count() const { return static_cast<int32_t>(Values.size()); }
  bool IsEmpty() const { return Values.empty(); }
  bool Contains(int32_t value) const;
  // Removes every occurrence; answers whether one was there.
  bool RemoveAll(int32_t value);
  void Append(int32_t value) { Values.push_back(value); }
  std::unique_ptr<YBIdentifierList> Clone() const { return std::make_unique<YBIdentifierList>(Values); }

  // "1-3,7" for 1, 2, 3, 7; "" for an empty list.
  std::string ToText() const;
  // Reads blanks around the numbers, "," between items and "a-b" ranges (a
  // range whose end lies below its start adds nothing); stops at the first
  // item that is not a number, or at a number outside the 32-bit range. A
  // null text reads as an empty one.
  static std::unique_ptr<YBIdentifierList> FromText(const char* text);

  // Reads the stream form into list: none for the count -1. A negative
  // count below -1, or one larger than the bytes the stream has left, is
  // refused with a "(BOT)" line naming the owner before anything is
  // allocated. On failure the list is left as it was.
  static bool Load(LumoStream* stream, std::unique_ptr<YBIdentifierList>& list, const char* owner);
  // Writes the stream form of a list, or -1 for none.
  static bool Save(LumoStream* stream, const YBIdentifierList* list);

  std::vector<int32_t> Values;
};
