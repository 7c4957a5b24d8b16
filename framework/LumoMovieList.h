#pragma once

#include "framework/LumoMediaList.h"

class LumoGraphicList;
class LumoGraphicNode;
class LumoMovieNode;

// The movie source of a level: movie nodes by unique name, and the graphic
// list their display graphics are made from (the level's).
class LumoMovieList : public LumoMediaList {
 public:
  LumoMovieList();

  const char* GetClassName() const override;
  // A movie node.
  LumoNode* CreateItem() override;
  // Takes only movie nodes.
  bool DoRegisterObject(LumoObject* object) override;
  // Forgets a graphic list that is freed first.
  void OnAbortReferenceTo(LumoObject* other) override;
  // Lets go of the graphic list, then frees the nodes.
  void DoFree() override;

  // The list display graphics are made from (referenced).
  virtual LumoGraphicList* SetGraphicList(LumoGraphicList* list);

  // The movie of that name, found or made: one already open is answered as
  // it is, else it is opened and, with attach, shown in the display graphic.
  // When opening or the display fails, the node is disposed of and null
  // answered.
  LumoMovieNode* FindOrLoadMovie(const char* name, LumoGraphicNode* display, bool attach);

  LumoGraphicList* GraphicList = nullptr;  // referenced
};
