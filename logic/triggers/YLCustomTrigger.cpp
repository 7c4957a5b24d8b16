#include "logic/triggers/YLCustomTrigger.h"

const char* YLCustomTrigger::GetClassName() const { return "YLCustomTrigger"; }
