#pragma once
// The ring's numbers and its slot and list arithmetic: nine slots, n list
// entries, remainders always made non-negative.
#include <cassert>

namespace ring {

inline constexpr int slotCount = 9;
// A step loads the slot this many places ahead of the front, the one that
// is hidden furthest behind the ring and comes into view next.
inline constexpr int loadReach = 5;
// Degrees between neighbouring slots around the ring's axis.
inline constexpr float slotAngle = 40.0f;
// How far each plane stands from the ring's axis.
inline constexpr float planeDistance = 7.0f;
// A plane's long side; the other follows the picture's aspect.
inline constexpr float planeLongSide = 4.0f;
// A step's animation: this many ticks, one every tickMilliseconds.
inline constexpr int ticksPerStep = 10;
inline constexpr int tickMilliseconds = 10;
// The wheel zooms a plane by this factor per event, between 1 and maxZoom.
inline constexpr float zoomFactor = 1.1f;
inline constexpr float maxZoom = 4.0f;

inline int wrap(int value, int modulus)
{
    assert(modulus > 0);
    const int r = value % modulus;
    return r < 0 ? r + modulus : r;
}

// The list entry that a full load puts into slot (0..8) of a list of n: the
// front and the four after it, then the four before it from the end.
inline int entryForSlot(int slot, int n)
{
    assert(slot >= 0 && slot < slotCount);
    return slot < loadReach ? wrap(slot, n) : wrap(n + slot - slotCount, n);
}

// What a step loads: which slot, with which list entry.
struct StepLoad {
    int slot;
    int entry;
};

// The load of a step by direction (+1 Next, -1 Previous) from the front slot
// front showing entry number of a list of n.
inline StepLoad stepLoad(int front, int number, int direction, int n)
{
    assert(front >= 0 && front < slotCount && number >= 0 && number < n && (direction == 1 || direction == -1));
    return {wrap(front + loadReach * direction, slotCount), wrap(number + loadReach * direction, n)};
}

}
