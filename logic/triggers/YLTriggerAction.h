#pragma once

#include <cstddef>
#include <cstdint>

#include "logic/triggers/YLEditableObject.h"

class CLogic;
class YLCustomTrigger;

// What a custom trigger does when it fires. Every action is an editable
// object: the level designer picks it by its editor name and fills in its
// properties, and it is stored with its trigger as an object record. The
// order of these operations is part of the interface with the editor.
//
// An action kind overrides ListProperties (its label/value lines, in its
// property order), SetProperty (the same lines numbered from 0; it answers
// the index minus its number of lines), GetRecordString (a short text with
// no time in front, shown on the trigger's type line) and Execute, and adds
// the load and save operations of its own properties.
class YLTriggerAction : public YLEditableObject {
 public:
  const char* GetClassName() const override;
  // "dummy action".
  COGITO_API void GetRecordString(char* buffer, size_t size) override;

  // Runs the action: logic is the running logic, trigger the custom trigger
  // that fires. The base does nothing. An exception passes to the trigger
  // and from there to the plan.
  virtual void Execute(CLogic* logic, YLCustomTrigger* trigger);
  // Writes the action's countdown label (cut to size bytes) and answers the
  // buffer; the base writes nothing, leaving the buffer as it was.
  virtual const char* GetCountdownText(char* buffer, size_t size);
};
