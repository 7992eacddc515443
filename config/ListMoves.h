#pragma once
// The "↑" and "↓" moves of the configurator's desktop list (also Ctrl+Up and
// Ctrl+Down), kept apart from the list control so that the rows can be any
// records and the rules can be tested alone.

#include <cstddef>
#include <utility>
#include <vector>

namespace qv::config {

enum class MoveDirection { kUp, kDown };

struct ListMove {
    // order[i] is the row, counted in the old list, that now stands at i.
    std::vector<size_t> order;
    // The places of the selected rows after the move, ascending.
    std::vector<size_t> selected;
    // Whether the edited data counts as changed.
    bool changed = false;
};

// One move of count rows with these rows selected (in any order; places
// past the end are ignored). With no row or every row selected the whole
// list turns by one place; otherwise each selected row steps once, unless
// it stands at the end it moves towards or next to another selected row.
ListMove PlanRowMove(size_t count, std::vector<size_t> selected, MoveDirection direction);

// One move of the bar configurator's menu items, by other rules: with no
// row selected the list turns by one place; with every row selected it is
// reversed; otherwise each selected row, taken from the side it moves
// towards, swaps with its neighbour, selected or not, so that a selected
// block moves past the row beside it. Fewer than two rows: no move.
ListMove PlanItemMove(size_t count, std::vector<size_t> selected, MoveDirection direction);

// Puts the rows into the planned order; order must be a plan for
// items.size() rows. The rows are moved, so owning pointers may be rows.
template <class T>
void ApplyOrder(std::vector<T>& items, const std::vector<size_t>& order) {
    std::vector<T> moved;
    moved.reserve(order.size());
    for (size_t from : order) moved.push_back(std::move(items[from]));
    items.swap(moved);
}

// Plans and applies one move; the result tells the new selection.
template <class T>
ListMove MoveRows(std::vector<T>& items, const std::vector<size_t>& selected, MoveDirection direction) {
    ListMove move = PlanRowMove(items.size(), selected, direction);
    ApplyOrder(items, move.order);
    return move;
}

}  // namespace qv::config
