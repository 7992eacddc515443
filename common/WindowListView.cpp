#include "WindowListView.h"

#include <shellapi.h>

namespace qv {

void WindowListView::Attach(HWND list, const ListColumn* columns, int count) {
    m_list = list;
    m_columns = columns;
    m_count = count;
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (int column = 0; column < count; ++column) {
        LVCOLUMNA item{};
        item.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        item.cx = columns[column].width;
        item.pszText = const_cast<char*>(columns[column].name);
        item.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    }
    Clear();
}

void WindowListView::Clear() {
    ListView_DeleteAllItems(m_list);
    // The list lets go of the old image list before it is destroyed.
    ListView_SetImageList(m_list, nullptr, LVSIL_SMALL);
    m_images.Reset(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4));
    ListView_SetImageList(m_list, m_images.Get(), LVSIL_SMALL);
}

void WindowListView::Add(const WindowEntry& window) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(m_list);
    item.pszText = const_cast<char*>(m_columns[0].text(window).c_str());
    item.lParam = reinterpret_cast<LPARAM>(&window);
    item.iImage = -1;
    HICON small = nullptr;
    if (!window.modulePath.empty() && ExtractIconExA(window.modulePath.c_str(), 0, nullptr, &small, 1) > 0 && small) {
        UniqueIcon icon(small);  // the image list keeps its own copy
        item.iImage = ImageList_AddIcon(m_images.Get(), icon.Get());
    }
    int row = static_cast<int>(SendMessageA(m_list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return;
    for (int column = 1; column < m_count; ++column)
        ListView_SetItemText(m_list, row, column, const_cast<char*>(m_columns[column].text(window).c_str()));
}

int CALLBACK WindowListView::CompareRows(LPARAM first, LPARAM second, LPARAM param) {
    const auto& view = *reinterpret_cast<const WindowListView*>(param);
    const auto text = view.m_columns[view.m_sorting->Column()].text;
    return view.m_sorting->Compare(text(*reinterpret_cast<const WindowEntry*>(first)).c_str(),
                                   text(*reinterpret_cast<const WindowEntry*>(second)).c_str());
}

void WindowListView::Sort(const SortOrder& order) {
    if (order.Column() >= 0 && order.Column() < m_count) {
        m_sorting = &order;
        ListView_SortItems(m_list, CompareRows, reinterpret_cast<LPARAM>(this));
        m_sorting = nullptr;
    }
    for (int column = 0; column < m_count; ++column) {
        std::string text = order.HeaderText(column, m_columns[column].name);
        LVCOLUMNA item{};
        item.mask = LVCF_TEXT;
        item.pszText = const_cast<char*>(text.c_str());
        SendMessageA(m_list, LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    }
}

bool WindowListView::OnNotify(const NMHDR& header, SortOrder& order) {
    if (header.hwndFrom != m_list) return false;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (header.code == LVN_COLUMNCLICK) {
        order.Click(change.iSubItem);
        Sort(order);
        return false;
    }
    return header.code == LVN_ITEMCHANGED && (change.uChanged & LVIF_STATE) &&
           ((change.uOldState ^ change.uNewState) & LVIS_SELECTED);
}

std::vector<const WindowEntry*> WindowListView::Selected() const {
    std::vector<const WindowEntry*> windows;
    for (int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_list, row, LVNI_SELECTED)) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        if (SendMessageA(m_list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
            windows.push_back(reinterpret_cast<const WindowEntry*>(item.lParam));
    }
    return windows;
}

int WindowListView::SelectedCount() const { return static_cast<int>(ListView_GetSelectedCount(m_list)); }

void WindowListView::DeselectAll() { ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED); }

}  // namespace qv
