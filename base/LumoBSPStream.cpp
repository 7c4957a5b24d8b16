#include "base/LumoBSP.h"

// The stream forms of the box, the object list and the children.
//
// The object stream is not part of the build yet: until it is, no stream can
// exist, and loading or saving a box, a list or a child fails rather than
// pretending to succeed.

template <int Dimensions, typename Coordinate>
bool LumoBSPBounds<Dimensions, Coordinate>::LoadOrigin(LumoStream*, const LumoProperty*) {
  return false;
}
template <int Dimensions, typename Coordinate>
bool LumoBSPBounds<Dimensions, Coordinate>::SaveOrigin(LumoStream*, const LumoProperty*) {
  return false;
}
template <int Dimensions, typename Coordinate>
bool LumoBSPBounds<Dimensions, Coordinate>::LoadSize(LumoStream*, const LumoProperty*) {
  return false;
}
template <int Dimensions, typename Coordinate>
bool LumoBSPBounds<Dimensions, Coordinate>::SaveSize(LumoStream*, const LumoProperty*) {
  return false;
}
template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::LoadObjects(LumoStream*, const LumoProperty*) {
  return false;
}
template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::SaveObjects(LumoStream*, const LumoProperty*) {
  return false;
}
template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::LoadFirstChild(LumoStream*, const LumoProperty*) {
  return false;
}
template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::SaveFirstChild(LumoStream*, const LumoProperty*) {
  return false;
}
template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::LoadSecondChild(LumoStream*, const LumoProperty*) {
  return false;
}
template <int Dimensions, typename Coordinate>
bool LumoBSPNode<Dimensions, Coordinate>::SaveSecondChild(LumoStream*, const LumoProperty*) {
  return false;
}

// ---- The instantiations ----

template bool LumoBSPBounds<2, int32_t>::LoadOrigin(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, int32_t>::SaveOrigin(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, int32_t>::LoadSize(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, int32_t>::SaveSize(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::LoadObjects(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::SaveObjects(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::LoadFirstChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::SaveFirstChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::LoadSecondChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, int32_t>::SaveSecondChild(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, float>::LoadOrigin(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, float>::SaveOrigin(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, float>::LoadSize(LumoStream*, const LumoProperty*);
template bool LumoBSPBounds<2, float>::SaveSize(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::LoadObjects(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::SaveObjects(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::LoadFirstChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::SaveFirstChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::LoadSecondChild(LumoStream*, const LumoProperty*);
template bool LumoBSPNode<2, float>::SaveSecondChild(LumoStream*, const LumoProperty*);
