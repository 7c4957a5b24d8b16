#include "game/GraphicHolder.h"

#include "framework/LumoGraphicNode.h"
#include "game/ResourceForms.h"

GraphicHolder::GraphicHolder(LumoGraphicNode* graphic) { SetGraphic(graphic); }

void GraphicHolder::DoFree() {
  SetGraphic(nullptr);
  LumoObject::DoFree();
}

void GraphicHolder::OnAbortReferenceTo(LumoObject* other) {
  LumoObject::OnAbortReferenceTo(other);
  if (other != nullptr && other == Graph) {
    Graph = nullptr;
  }
}

void GraphicHolder::SetGraphic(LumoGraphicNode* graphic) {
  if (graphic == Graph) {
    return;
  }
  if (Graph != nullptr) {
    RemoveReference(Graph);
    Graph = nullptr;
  }
  if (graphic != nullptr && AddReference(graphic) != nullptr) {
    Graph = graphic;
  }
}

bool GraphicHolder::SaveGraphic(LumoStream* stream) const { return SaveGraphicName(stream, Graph); }

bool GraphicHolder::LoadGraphic(LumoStream* stream) {
  LumoGraphicNode* graphic = LoadGraphicByName(stream, GetClassName());
  SetGraphic(graphic);
  return graphic != nullptr && Graph == graphic;
}
