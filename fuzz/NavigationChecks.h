#pragma once

// Properties every sector map and knowledge map must keep, however damaged
// the input they were made from, shared by the navigation's fuzz targets.

#include <cstdint>
#include <string>

class LumoObject;
class YLKnowledgeMap;
class YLSectors;

// Every border a sector lists is one of the map's, and every cell's sector is
// none or the id of one of the map's sectors.
void RequireConsistentMap(const YLSectors& map);
void RequireConsistentCells(const YLKnowledgeMap& knowledgeMap);

// The object's record, saved into memory; requires the save to succeed.
std::string SavedRecord(LumoObject& object);
// Loads the record; requires it to load as the class it was saved as. The
// caller destroys the object answered.
LumoObject* ReloadedRecord(const std::string& record);
