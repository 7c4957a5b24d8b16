#pragma once

#include <cstddef>
#include <cstdint>

#include "base/LumoExport.h"
#include "logic/triggers/YLEditableObject.h"

class CLogic;
class LumoProperty;
class LumoStream;
class tStrings;

// Something the logic does later: the base of every delayed and repeating
// item of the logic's plan. The plan (a wheel of 30 near buckets and a long
// list, kept by CLogic) links items through Next and runs each when the
// frame counter reaches its Time. Times are frame numbers compared unsigned.
//
// Ownership: an item owns the rest of its chain. Free (DestroyObject) frees
// the chain behind it, one item after another; the destructor alone never
// touches Next, so the plan deletes single items after unlinking them.
class LogicPlanItem : public YLEditableObject {
 public:
  // Not in any plan list.
  static constexpr int32_t kNotPlanned = -1;
  // The long list's number in PlanSlot; 0-29 are the near buckets.
  static constexpr int32_t kLongTermSlot = 30;

  LogicPlanItem();
  ~LogicPlanItem() override;

  const char* GetClassName() const override;
  // Frees the chain behind this item, without recursion.
  void DoFree() override;

  // Position 0 is the time: setting it moves the item in the running
  // logic's plan.
  COGITO_API int32_t SetProperty(int32_t index, const char* text) override;
  // "%3d: LogicPlanItem" with the time.
  COGITO_API void GetRecordString(char* buffer, size_t size) override;

  // Runs the item; the base does nothing.
  virtual void Execute(CLogic* logic);
  // Frames until the next run, asked once after each run; 0 ends the item.
  virtual uint32_t GetFrequency();
  // "time=%d\n" to the debug log.
  virtual void PrintToLog();
  // Whether the item drives the on-screen countdown.
  virtual bool ShowsCountdown();
  // Writes the countdown label (cut to size bytes) and answers the buffer;
  // the base writes nothing.
  virtual const char* GetCountdownText(char* buffer, size_t size);
  // The frame at which the countdown ends.
  virtual uint32_t GetTime();
  // Turns ids kept by the item back into pointers after a load.
  virtual void ResolveReferences();
  // Appends "time" and the time to the shared editor lists.
  virtual void BuildProperties();
  // Next: a presence byte and, when set, the next item's whole record, so a
  // list is stored as one nested chain. Time: a 32-bit integer.
  virtual bool LoadNext(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveNext(LumoStream* stream, const LumoProperty* property);
  virtual bool LoadTime(LumoStream* stream, const LumoProperty* property);
  virtual bool SaveTime(LumoStream* stream, const LumoProperty* property);

  // Empties the shared editor lists, hands them out (valid until the next
  // call) and fills them with this item's labels and values.
  COGITO_API void GetProperties(tStrings*& labels, tStrings*& values);

  // The shared editor lists of the library.
  static tStrings& EditorLabels();
  static tStrings& EditorValues();

  // Whether the item is due within window frames of frame now (unsigned
  // difference, so an item of the past never is).
  bool IsDueWithin(uint32_t now, uint32_t window) const { return Time - now < window; }

  // The frame at which the item is due.
  uint32_t Time = 0;
  // The next item of the same plan list; owned (see above).
  LogicPlanItem* Next = nullptr;
  // Which plan list holds the item (a near bucket, kLongTermSlot or
  // kNotPlanned); kept by CLogic, never stored.
  int32_t PlanSlot = kNotPlanned;
};
