#pragma once

#include "Motion.h"

// The widget tests make every motion a jump; a test that steps motions
// itself holds one of these for as long as it does.
class SteppedMotions {
public:
    SteppedMotions() { Motion::setInstant(false); }
    ~SteppedMotions() { Motion::setInstant(true); }
    SteppedMotions(const SteppedMotions &) = delete;
    SteppedMotions &operator=(const SteppedMotions &) = delete;
};
