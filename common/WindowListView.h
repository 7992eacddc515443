#pragma once
// A report list view of window entries, one row each with the module's
// small icon, sorted by a clicked column with the header marking the order.
// The task switch tool's dialog and the viewer's task dialog both show one.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "DesktopWindows.h"
#include "Handle.h"
#include "WindowListRules.h"

namespace qv {

struct ImageListTraits {
    using Type = HIMAGELIST;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { ImageList_Destroy(h); }
};
using UniqueImageList = UniqueResource<ImageListTraits>;

struct ListColumn {
    const char* name;
    int width;
    // The column's text of a window.
    const std::string& (*text)(const WindowEntry& window);
};

class WindowListView {
public:
    // Takes the dialog's list view (LVS_SHAREIMAGELISTS, so the image list
    // stays ours) and inserts the columns; they must outlive this object.
    void Attach(HWND list, const ListColumn* columns, int count);
    HWND Handle() const { return m_list; }

    // Removes every row and the icons with them.
    void Clear();
    // One row, with the small icon of its module when it has one. The entry
    // must outlive the row.
    void Add(const WindowEntry& window);

    // Sorts by the order's column and marks the headers.
    void Sort(const SortOrder& order);

    // A notification from the list: a header click sorts by its column (a
    // second click turns the order round). True when the selection changed.
    bool OnNotify(const NMHDR& header, SortOrder& order);

    // The windows of the selected rows, in list order.
    std::vector<const WindowEntry*> Selected() const;
    int SelectedCount() const;
    void DeselectAll();

private:
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM param);

    HWND m_list = nullptr;
    const ListColumn* m_columns = nullptr;
    int m_count = 0;
    UniqueImageList m_images;
    const SortOrder* m_sorting = nullptr;  // only during Sort
};

}  // namespace qv
