#pragma once
// A turn shared by every process writing one file, for writes that must not
// land on one another: a word in memory that they all map, named after the
// file itself (its volume and index), so that every name of the file finds
// the same turn. Taking a free turn stays in this process, where a mutex
// would cost two trips to the wineserver under Wine.

#include <windows.h>

#include "Handle.h"

namespace qv {

class FileTurn {
public:
    // A holder that keeps the turn longer has stopped or gone mid-write.
    static constexpr DWORD kWaitMs = 1000;

    FileTurn() = default;
    // No turn when the file cannot tell who it is or the memory cannot be
    // had: Take and Give then do nothing, and writes go without a turn.
    explicit FileTurn(HANDLE file);

    bool Valid() const { return m_view.Valid(); }
    // Waits for the turn, at most kWaitMs; then takes it from its holder.
    void Take();
    void Give();

private:
    volatile LONG* Word() const { return static_cast<volatile LONG*>(m_view.Get()); }

    UniqueHandle m_section;
    UniqueMappedView m_view;
};

// The turn for one scope.
class HeldTurn {
public:
    explicit HeldTurn(FileTurn& turn) : m_turn(turn) { m_turn.Take(); }
    ~HeldTurn() { m_turn.Give(); }
    HeldTurn(const HeldTurn&) = delete;
    HeldTurn& operator=(const HeldTurn&) = delete;

private:
    FileTurn& m_turn;
};

}  // namespace qv
