#include "ProgramListEditor.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "DesktopDialogsRes.h"
#include "DesktopRules.h"
#include "ProgramDialog.h"
#include "ReportList.h"

namespace qv::config {

namespace {

inline constexpr ReportColumn kColumns[] = {{"ﾓｼﾞｭｰﾙ", 140, LVCFMT_LEFT}, {"重", 30, LVCFMT_LEFT},
                                            {"Dir", 30, LVCFMT_LEFT},      {"位置", 96, LVCFMT_RIGHT},
                                            {"ｻｲｽﾞ", 88, LVCFMT_RIGHT},    {"Pri", 58, LVCFMT_LEFT},
                                            {"引数", 42, LVCFMT_LEFT}};

}  // namespace

void ProgramListEditor::Attach(HWND dialog) {
    m_dialog = dialog;
    AddReportColumns(GetDlgItem(dialog, IDC_DT_PROGRAMS), kColumns, static_cast<int>(std::size(kColumns)));
    Fill({});
}

void ProgramListEditor::Fill(const std::vector<size_t>& selected) {
    HWND list = GetDlgItem(m_dialog, IDC_DT_PROGRAMS);
    ListView_DeleteAllItems(list);
    for (Executant* entry : m_entries) {
        const ProgramRow texts = DescribeProgram(*entry);
        AppendReportRow(list, {&texts.module, &texts.once, &texts.folder, &texts.position, &texts.size,
                               &texts.priority, &texts.arguments});
    }
    for (size_t place : selected) ListView_SetItemState(list, static_cast<int>(place), LVIS_SELECTED, LVIS_SELECTED);
    SetEnabling();
}

void ProgramListEditor::SetEnabling() const {
    const bool selected = ListView_GetSelectedCount(GetDlgItem(m_dialog, IDC_DT_PROGRAMS)) > 0;
    EnableWindow(GetDlgItem(m_dialog, IDC_DT_DELETE), selected);
    EnableWindow(GetDlgItem(m_dialog, IDC_DT_EDIT_PROGRAM), selected);
}

bool ProgramListEditor::TakeChanged() {
    const bool changed = m_changed;
    m_changed = false;
    return changed;
}

std::vector<Executant*> ProgramListEditor::Entries() const {
    std::vector<Executant*> entries;
    for (Executant* entry : m_entries) entries.push_back(entry);
    return entries;
}

std::vector<size_t> ProgramListEditor::Selected() const {
    return SelectedReportRows(GetDlgItem(m_dialog, IDC_DT_PROGRAMS));
}

void ProgramListEditor::Move(MoveDirection direction) {
    std::vector<Executant*> entries = Entries();
    const ListMove move = PlanRowMove(entries.size(), Selected(), direction);
    if (!move.changed) return;
    ApplyOrder(entries, move.order);
    for (Executant* entry : entries) m_entries.Remove(entry);
    for (Executant* entry : entries) m_entries.Append(entry);
    m_changed = true;
    Fill(move.selected);
}

void ProgramListEditor::Delete() {
    const std::vector<size_t> selected = Selected();
    if (selected.empty()) return;
    const std::vector<Executant*> entries = Entries();
    for (size_t row : selected) {
        m_entries.Remove(entries[row]);
        delete entries[row];
    }
    m_changed = true;
    Fill({});
}

void ProgramListEditor::Add() {
    auto entry = std::make_unique<Executant>();
    entry->Validate();
    entry->Apply();
    ProgramDialog dialog(*entry);
    if (dialog.DoModal(GetModuleHandleA(nullptr), IDD_PROGRAM, m_dialog) != IDOK) return;
    m_entries.Append(entry.release());
    m_changed = true;
    Fill({static_cast<size_t>(m_entries.Count() - 1)});
}

void ProgramListEditor::Edit() {
    const std::vector<size_t> selected = Selected();
    if (selected.size() != 1) return;
    ProgramDialog dialog(*Entries()[selected.front()]);
    if (dialog.DoModal(GetModuleHandleA(nullptr), IDD_PROGRAM, m_dialog) != IDOK) return;
    m_changed = true;
    Fill(selected);
}

bool ProgramListEditor::OnCommand(WORD id) {
    switch (id) {
    case IDC_DT_UP: Move(MoveDirection::kUp); return true;
    case IDC_DT_DOWN: Move(MoveDirection::kDown); return true;
    case IDC_DT_DELETE: Delete(); return true;
    case IDC_DT_ADD_PROGRAM: Add(); return true;
    case IDC_DT_EDIT_PROGRAM: Edit(); return true;
    case IDC_DT_SELECTALL:
    case IDC_DT_DESELECT:
        ListView_SetItemState(GetDlgItem(m_dialog, IDC_DT_PROGRAMS), -1, id == IDC_DT_SELECTALL ? LVIS_SELECTED : 0,
                              LVIS_SELECTED);
        return true;
    default:
        return false;
    }
}

bool ProgramListEditor::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_DT_PROGRAMS) return false;
    if (header.code == LVN_ITEMCHANGED) SetEnabling();
    if (header.code == NM_DBLCLK) Edit();
    return true;
}

}  // namespace qv::config
