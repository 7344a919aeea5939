// Records of the working space.
#include "core/state.h"

namespace varigap {

SRegion NewSRegion(const TRegion& tr) {
    SRegion r;
    r.isCR = tr.isCR;
    r.num = tr.num;
    r.startPos = POSNOTFOUND;
    r.endPos = POSNOTFOUND;
    return r;
}

}  // namespace varigap
