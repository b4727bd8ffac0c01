#pragma once
// Slot and list arithmetic of the ring: nine slots, N list entries, remainders
// always made non-negative.

inline int wrap(int value, int modulus)
{
    const int r = value % modulus;
    return r < 0 ? r + modulus : r;
}

// The list entry that Image_Load_start puts into slot i (0..8) of a list of n.
inline int entryForSlot(int slot, int n)
{
    return slot <= 4 ? wrap(slot, n) : wrap(n + slot - 9, n);
}
