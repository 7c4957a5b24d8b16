#pragma once

// The editor's two factories: an editor name typed on a custom trigger's
// type line becomes a new condition or action. Each compares the name with
// a table of editor names on only the first few characters of each row, so
// abbreviations work ("a" is the units-available action, "ov" the objective
// tick); the first matching row, in table order, names the class that the
// class registry makes. A null name, no matching row, or a row whose class
// is not registered gives null.

class YLTriggerAction;
class YLTriggerCondition;

YLTriggerCondition* CreateTriggerCondition(const char* name);
YLTriggerAction* CreateTriggerAction(const char* name);
