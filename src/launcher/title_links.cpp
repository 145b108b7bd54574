#include "launcher/title_links.h"

namespace velk {

int HitTestLinkRects(const LinkRect (&rects)[3], int32_t x, int32_t y) {
    for (int i = 0; i < 3; ++i) {
        const LinkRect& r = rects[i];
        if (r.left == kAbsentLink) continue;
        if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom) return i + 1;
    }
    return 0;
}

}  // namespace velk
