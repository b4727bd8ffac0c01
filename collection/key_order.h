#pragma once
// The order of many sort keys, as the picture list needs it for a scan.
#include <cstdint>
#include <string_view>
#include <vector>

// The positions of keys in the plain byte order of the keys; of equal keys
// only the first position.
std::vector<uint32_t> distinctKeyOrder(const std::vector<std::string_view>& keys);
