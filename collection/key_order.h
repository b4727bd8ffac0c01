#pragma once
// The order of many sort keys, as the picture list needs it for a scan.
#include <cstdint>
#include <string_view>
#include <vector>

// The positions of keys in the plain byte order of the keys, equal keys in
// the order of their positions.
std::vector<uint32_t> keyOrder(const std::vector<std::string_view>& keys);
