// The title window's three web links as rectangles in client coordinates.
#pragma once
#include <cstdint>

namespace velk {

struct LinkRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The left edge that marks a link whose static is missing.
constexpr int32_t kAbsentLink = -999;

// 1, 2 or 3 for the first rectangle holding the point (all four edges
// included), 0 for none. An absent link is never hit.
int HitTestLinkRects(const LinkRect (&rects)[3], int32_t x, int32_t y);

}  // namespace velk
