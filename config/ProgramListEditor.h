#pragma once
// The program list of a dialog: its rows, moves, deletion, selection and
// the program dialog for adding and updating entries. The desktop dialog and
// Mendrel's dialog both hold one, on controls with the same numbers.

#include <windows.h>

#include <vector>

#include "Executant.h"
#include "ListMoves.h"
#include "RingList.h"

namespace qv::config {

class ProgramListEditor {
public:
    explicit ProgramListEditor(OwnedRing<Executant>& entries) : m_entries(entries) {}

    // Once the dialog's controls exist: the columns and the rows.
    void Attach(HWND dialog);
    void Fill(const std::vector<size_t>& selected);
    // Update and delete are offered only while a row is selected.
    void SetEnabling() const;
    // A command or notification of the list's controls: true when handled.
    bool OnCommand(WORD id);
    bool OnNotify(const NMHDR& header);
    // Whether an edit changed the list since the last call.
    bool TakeChanged();

private:
    std::vector<Executant*> Entries() const;
    std::vector<size_t> Selected() const;
    void Move(MoveDirection direction);
    void Delete();
    void Add();
    void Edit();

    OwnedRing<Executant>& m_entries;
    HWND m_dialog = nullptr;
    bool m_changed = false;
};

}  // namespace qv::config
