#include "base/LumoBSP.h"

// ---- Stream forms ----

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

template class LumoBSPBounds<2, int32_t>;
template class LumoBSPNode<2, int32_t>;
template class LumoBSPObject<2, int32_t>;
template class LumoBSPBounds<2, float>;
template class LumoBSPNode<2, float>;
template class LumoBSPObject<2, float>;
