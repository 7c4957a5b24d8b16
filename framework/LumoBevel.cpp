#include "framework/LumoBevel.h"

#include <algorithm>
#include <new>

#include "framework/LumoBody.h"
#include "framework/LumoCell.h"
#include "framework/LumoControl.h"
#include "framework/LumoEngine.h"
#include "framework/LumoGraphicList.h"
#include "framework/LumoGraphicNode.h"
#include "framework/LumoItem.h"
#include "framework/LumoOption.h"
#include "framework/LumoScrollBar.h"
#include "framework/LumoSequenceList.h"
#include "runtime/Drawing.h"
#include "runtime/Graphics.h"

namespace {

// The colour a half of the frame takes on a side from the style's group of
// four bits (raised, sunken, face, invisible); false for no colour. Raised
// halves are light on the top and left sides and dark on the others; the
// outer half uses the outermost bevel colours, the inner the middle ones.
bool HalfColour(uint32_t group, bool outer, uint32_t side, sRGB& colour) {
  if (Engine == nullptr) {
    return false;
  }
  const bool lightSide = side == LumoBevel::SideLeft || side == LumoBevel::SideTop;
  const int light = outer ? 0 : 1;
  const int dark = outer ? 3 : 2;
  if ((group & 1) != 0) {
    colour = Engine->BevelColour(lightSide ? light : dark);
    return true;
  }
  if ((group & 2) != 0) {
    colour = Engine->BevelColour(lightSide ? dark : light);
    return true;
  }
  if ((group & 4) != 0) {
    colour = Engine->FaceColour();
    return true;
  }
  return false;  // 8 (invisible) or no bit
}

}  // namespace

const char* LumoBevel::GetClassName() const { return "LumoBevel"; }

void LumoBevel::DoFree() {
  DestroyEdges();
  LumoSprite::DoFree();
}

uint32_t LumoBevel::SetStyle(uint32_t style) { return Style = style; }
uint32_t LumoBevel::SetEdges(uint32_t edges) { return Edges = edges; }

LumoObject* LumoBevel::SetControl(LumoObject* control) {
  Keep(Control, control);
  return Control;
}

LumoSprite*& LumoBevel::EdgeField(uint32_t side) {
  switch (side) {
    case SideLeft:
      return LeftEdge;
    case SideTop:
      return TopEdge;
    case SideRight:
      return RightEdge;
    default:
      return BottomEdge;
  }
}

LumoSprite* LumoBevel::Edge(uint32_t side) const {
  return const_cast<LumoBevel*>(this)->EdgeField(side);
}

LumoSprite* LumoBevel::SetLeftEdge(LumoSprite* edge) {
  Keep(LeftEdge, edge);
  return LeftEdge;
}
LumoSprite* LumoBevel::SetTopEdge(LumoSprite* edge) {
  Keep(TopEdge, edge);
  return TopEdge;
}
LumoSprite* LumoBevel::SetRightEdge(LumoSprite* edge) {
  Keep(RightEdge, edge);
  return RightEdge;
}
LumoSprite* LumoBevel::SetBottomEdge(LumoSprite* edge) {
  Keep(BottomEdge, edge);
  return BottomEdge;
}

void LumoBevel::DoAbortReferenceTo(LumoObject* other) {
  LumoSprite::DoAbortReferenceTo(other);
  if (other == nullptr) {
    return;
  }
  if (other == Control) {
    Control = nullptr;
  }
  for (LumoSprite** edge : {&LeftEdge, &TopEdge, &RightEdge, &BottomEdge}) {
    if (*edge == other) {
      *edge = nullptr;
    }
  }
}

bool LumoBevel::CanForceAnimation() {
  if ((Style & kFocusOnly) == 0) {
    return LumoSprite::CanForceAnimation();
  }
  auto* control = dynamic_cast<LumoControl*>(Control);
  return control != nullptr && control->Focused && LumoSprite::CanForceAnimation();
}

LumoSprite* LumoBevel::CreateEdgeSprite() { return new (std::nothrow) LumoSprite; }

void LumoBevel::DrawEdgeLines(LumoGraphicNode* graphic, uint32_t side, int32_t width, int32_t height) {
  const bool vertical = side == SideLeft || side == SideRight;
  const int32_t thickness = vertical ? width : height;
  const int32_t length = vertical ? height : width;
  // The outer half gets the larger share of an odd thickness.
  const int32_t outerLines = (thickness + 1) / 2;
  LockedGraphic* locked = graphic->CreateLock();
  if (locked == nullptr) {
    return;
  }
  for (int32_t line = 0; line < thickness; ++line) {
    const bool outer = line < outerLines;
    sRGB colour;
    if (!HalfColour(outer ? (Style & 0x0F) : ((Style >> 4) & 0x0F), outer, side, colour)) {
      continue;
    }
    // Each line is two pixels shorter than the one outside it, so the
    // sides meet on the diagonals of the corners.
    const int32_t run = length - 2 * line;
    if (run <= 0) {
      break;
    }
    const uint32_t pixel = ConvertRGB(colour);
    // The outermost line lies on the outside of the frame: column 0 of a
    // left edge, the last column of a right edge, and so on.
    const bool far = side == SideRight || side == SideBottom;
    const int32_t across = far ? thickness - 1 - line : line;
    if (vertical) {
      SelectPixelAt(locked, across, line);
      NextLine(locked, 0, run, pixel);
    } else {
      SelectPixelAt(locked, line, across);
      NextLine(locked, run, 0, pixel);
    }
  }
  graphic->ReleaseLock();
}

LumoSprite* LumoBevel::CreateEdge(int32_t left, int32_t top, int32_t width, int32_t height, uint32_t side) {
  LumoCell* cell = Cell();
  if (cell == nullptr || Engine == nullptr || width < 1 || height < 1) {
    return nullptr;
  }
  LumoSprite* edge = CreateEdgeSprite();
  if (edge == nullptr) {
    return nullptr;
  }
  if (cell->Append(edge) == nullptr) {
    DestroyObject(edge);
    return nullptr;
  }
  edge->SetPosition(left, top);
  LumoSequenceList* sequence = edge->AppendSequence(Engine->FramesPerPulse, -1);
  LumoGraphicList* list = sequence != nullptr ? sequence->GraphicList : nullptr;
  if (list == nullptr) {
    DestroyObject(edge);
    return nullptr;
  }
  // The key holds the style and the side, so an edge graphic is shared only
  // by edges that look the same; a new one is drawn once.
  const sRGB& key = Engine->TransparentKeyColour();
  const uint32_t extra = (Style & 0xFFFF) | (side << 16);
  LumoGraphicNode* graphic = list->FindGeneratedGraphic(LumoGraphicList::kSharedFill, width, height, key, extra);
  if (graphic == nullptr) {
    graphic = list->GetGeneratedGraphic(width, height, key, true, extra);
    if (graphic != nullptr) {
      DrawEdgeLines(graphic, side, width, height);
    }
  }
  if (graphic != nullptr) {
    graphic->SetTransparent();
  }
  if (graphic == nullptr || sequence->AppendFrame(graphic, 0, 0, 1) == nullptr) {
    DestroyObject(edge);
    return nullptr;
  }
  edge->ResetSequence(false);
  return edge;
}

void LumoBevel::DestroyEdges() {
  for (uint32_t side : {SideLeft, SideTop, SideRight, SideBottom}) {
    LumoSprite*& field = EdgeField(side);
    if (LumoSprite* edge = field) {
      Keep(field, static_cast<LumoSprite*>(nullptr));
      DestroyObject(edge);
    }
  }
}

bool LumoBevel::DrawFrame(int32_t left, int32_t top, int32_t width, int32_t height, int32_t thickness) {
  if (Control == nullptr || width < 1 || height < 1) {
    return false;
  }
  if (thickness < 1 && Engine != nullptr) {
    thickness = Engine->ControlMargin();
  }
  if (thickness < 1) {
    return false;
  }
  DestroyEdges();
  const int32_t outerLeft = left - thickness;
  const int32_t outerTop = top - thickness;
  const int32_t outerWidth = width + 2 * thickness;
  const int32_t outerHeight = height + 2 * thickness;
  struct Place {
    uint32_t side;
    int32_t left, top, width, height;
  };
  const Place places[] = {
      {SideLeft, outerLeft, outerTop, thickness, outerHeight},
      {SideTop, outerLeft, outerTop, outerWidth, thickness},
      {SideRight, left + width, outerTop, thickness, outerHeight},
      {SideBottom, outerLeft, top + height, outerWidth, thickness},
  };
  for (const Place& place : places) {
    if ((Edges & place.side) == 0) {
      continue;
    }
    LumoSprite* edge = CreateEdge(place.left, place.top, place.width, place.height, place.side);
    if (edge == nullptr) {
      return false;
    }
    Keep(EdgeField(place.side), edge);
  }
  return true;
}

void LumoBevel::AttachToBody(LumoSprite* target) {
  if (target == nullptr) {
    return;
  }
  if (target->Body != nullptr && OwnerBody == nullptr) {
    target->Body->AttachSprite(this);
  }
  for (uint32_t side : {SideLeft, SideTop, SideRight, SideBottom}) {
    LumoSprite* edge = EdgeField(side);
    if (edge != nullptr && Body != nullptr && edge->OwnerBody == nullptr) {
      Body->AttachSprite(edge);
    }
  }
  if (target->AnimationPrevented || (Style & kFocusOnly) != 0) {
    PreventAnimation();
  } else if (target->Animating) {
    ForceAnimation();
  }
}

void LumoBevel::PopulateAroundItem(const LumoItem& item) {
  // The children's options side by side (a bar) or one under another.
  const auto* firstChild = dynamic_cast<const LumoItem*>(item.first);
  LumoOption* firstOption = firstChild != nullptr ? firstChild->Option : nullptr;
  const bool sideBySide = item.Horizontal || (firstChild != nullptr && firstChild->Horizontal);
  int64_t width = 0;
  int64_t height = 0;
  for (const LumoNode* node = item.first; node != nullptr; node = node->next) {
    const auto* child = dynamic_cast<const LumoItem*>(node);
    const LumoOption* option = child != nullptr ? child->Option : nullptr;
    if (option == nullptr || option->Graphic == nullptr) {
      continue;
    }
    const int64_t optionWidth = option->Graphic->Width;
    const int64_t optionHeight = option->Graphic->Height;
    if (sideBySide) {
      width += optionWidth;
      height = std::max(height, optionHeight);
    } else {
      width = std::max(width, optionWidth);
      height += optionHeight;
    }
  }
  const auto narrow = [](int64_t value) { return static_cast<int32_t>(std::min<int64_t>(value, INT32_MAX)); };
  // The frame starts at the first entry, whose margin is its thickness, and
  // goes with that entry's body wherever the entry is placed.
  const bool drawn = firstOption != nullptr
                         ? DrawFrame(firstOption->Left, firstOption->Top, narrow(width), narrow(height),
                                     firstOption->Margin)
                         : DrawFrame(0, 0, narrow(width), narrow(height), 0);
  if (drawn && firstOption != nullptr) {
    AttachToBody(firstOption);
  }
}

void LumoBevel::DoPopulate() {
  LumoSprite::DoPopulate();
  if (const auto* item = dynamic_cast<const LumoItem*>(Control)) {
    PopulateAroundItem(*item);
    return;
  }
  auto* control = dynamic_cast<LumoControl*>(Control);
  if (control == nullptr) {
    return;
  }
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  // A scroll bar's frame takes in its arrows and thumb.
  const bool bar = dynamic_cast<LumoScrollBar*>(control) != nullptr;
  control->GetBounds(left, top, width, height, bar, false);
  if (DrawFrame(left, top, width, height, control->Margin)) {
    AttachToBody(control);
  }
}

void LumoBevel::Define(LumoObject* control, uint32_t style, uint32_t edges) {
  Clear();
  SetControl(control);
  SetStyle(style);
  SetEdges(edges);
  DoPopulate();
  OnPopulate();
  OnActivate();
  DoActivate();
}
