#include "ListMoves.h"

#include <algorithm>
#include <numeric>

namespace qv::config {

namespace {

// No row moved yet: the order as it is, the selection sorted, without
// repeats and rows past the end.
ListMove Unmoved(size_t count, std::vector<size_t> selected) {
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    selected.erase(std::lower_bound(selected.begin(), selected.end(), count), selected.end());
    ListMove move;
    move.order.resize(count);
    std::iota(move.order.begin(), move.order.end(), size_t{0});
    move.selected = std::move(selected);
    return move;
}

}  // namespace

ListMove PlanRowMove(size_t count, std::vector<size_t> requested, MoveDirection direction) {
    ListMove move = Unmoved(count, std::move(requested));
    const std::vector<size_t> selected = move.selected;
    if (count < 2) return move;
    // The configurator marks its data changed on every move of a list of
    // two or more rows, even one where no selected row could step.
    move.changed = true;

    const bool up = direction == MoveDirection::kUp;
    if (selected.empty() || selected.size() == count) {
        // Nothing to tell the rows apart by: the list turns, so that
        // pressing the key again and again brings every row round.
        if (up) {
            std::rotate(move.order.begin(), move.order.begin() + 1, move.order.end());
        } else {
            std::rotate(move.order.begin(), move.order.end() - 1, move.order.end());
        }
        return move;
    }

    std::vector<bool> marked(count, false);
    for (size_t row : selected) marked[row] = true;
    // Rows are taken starting from the side they move towards, so that a
    // block of selected rows steps as a whole instead of stopping at its
    // own leading row.
    auto step = [&](size_t from, size_t to) {
        if (!marked[from] || marked[to]) return;
        std::swap(move.order[from], move.order[to]);
        marked[to] = true;
        marked[from] = false;
    };
    if (up) {
        for (size_t row = 1; row < count; ++row) step(row, row - 1);
    } else {
        for (size_t row = count - 1; row > 0; --row) step(row - 1, row);
    }
    move.selected.clear();
    for (size_t row = 0; row < count; ++row) {
        if (marked[row]) move.selected.push_back(row);
    }
    return move;
}

ListMove PlanItemMove(size_t count, std::vector<size_t> requested, MoveDirection direction) {
    ListMove move = Unmoved(count, std::move(requested));
    const std::vector<size_t> selected = move.selected;
    if (count < 2) return move;
    move.changed = true;
    const bool up = direction == MoveDirection::kUp;
    if (selected.empty()) {
        if (up) {
            std::rotate(move.order.begin(), move.order.begin() + 1, move.order.end());
        } else {
            std::rotate(move.order.begin(), move.order.end() - 1, move.order.end());
        }
        return move;
    }
    if (selected.size() == count) {
        std::reverse(move.order.begin(), move.order.end());
        return move;
    }
    // The marks travel with the rows: the selection stays on what moved.
    std::vector<bool> marked(count, false);
    for (size_t row : selected) marked[row] = true;
    auto swap = [&](size_t a, size_t b) {
        std::swap(move.order[a], move.order[b]);
        const bool mark = marked[a];
        marked[a] = marked[b];
        marked[b] = mark;
    };
    if (up) {
        for (size_t row = 1; row < count; ++row)
            if (marked[row]) swap(row, row - 1);
    } else {
        for (size_t row = count - 1; row-- > 0;)
            if (marked[row]) swap(row, row + 1);
    }
    move.selected.clear();
    for (size_t row = 0; row < count; ++row)
        if (marked[row]) move.selected.push_back(row);
    return move;
}

}  // namespace qv::config
