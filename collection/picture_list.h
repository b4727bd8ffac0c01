#pragma once
// The viewer's picture list (stlf): paths in native bytes, always sorted by
// the user locale's name order, never two that compare equal.
#include "collection/path_store.h"
#include "order/name_order.h"
#include <string>
#include <vector>

class PictureList {
public:
    // Sorted by order, which its owner makes once and keeps beyond the list.
    explicit PictureList(const order::NameOrder& order) : order_(&order) {}

    // Inserts path at its sorted place; if an equal entry is present the
    // list stays as it is (the first spelling is kept) and it returns false.
    bool add(const std::string& path);
    // The same list as adding paths one by one in order, in O(n log n).
    void addBatch(PathStore paths);
    void addBatch(const std::vector<std::string>& paths);
    void clear();
    int count() const;
    std::string at(int i) const;

private:
    // Sort keys are not kept: a million of them would outweigh the paths
    // several times over, and making one again costs little.
    const order::NameOrder* order_; // not a reference: lists are assigned
    PathStore paths_; // in order
};
