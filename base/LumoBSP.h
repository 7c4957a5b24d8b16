#pragma once

// The two-dimensional BSP tree: boxes (LumoBSPBounds), the nodes that halve
// them on demand (LumoBSPNode) and the objects stored in them
// (LumoBSPObject), over 32-bit integer and 32-bit float coordinates. The
// member functions of both instantiations are compiled once, in the base
// library; other coordinate types are not provided.

#include <cstdint>

#include "base/LumoBSPBounds.h"
#include "base/LumoBSPNode.h"
#include "base/LumoBSPObject.h"

extern template class LumoBSPBounds<2, int32_t>;
extern template class LumoBSPNode<2, int32_t>;
extern template class LumoBSPObject<2, int32_t>;
extern template class LumoBSPBounds<2, float>;
extern template class LumoBSPNode<2, float>;
extern template class LumoBSPObject<2, float>;
