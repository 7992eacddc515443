#include "ReportList.h"

namespace qv {

void AddReportColumns(HWND list, const ReportColumn* columns, int count) {
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (int column = 0; column < count; ++column) {
        LVCOLUMNA item{};
        item.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        item.fmt = columns[column].format;
        item.cx = columns[column].width;
        item.pszText = const_cast<char*>(columns[column].name);
        item.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    }
}

int AppendReportRow(HWND list, const std::vector<const std::string*>& cells) {
    if (cells.empty()) return -1;
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<char*>(cells.front()->c_str());
    const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return row;
    for (size_t column = 1; column < cells.size(); ++column)
        ListView_SetItemText(list, row, static_cast<int>(column), const_cast<char*>(cells[column]->c_str()));
    return row;
}

std::vector<size_t> SelectedReportRows(HWND list) {
    std::vector<size_t> rows;
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        rows.push_back(static_cast<size_t>(row));
    return rows;
}

}  // namespace qv
