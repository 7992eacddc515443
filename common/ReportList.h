#pragma once
// The plain operations on a report list view that the programs' dialogs
// share: its columns, a row of texts, and the selected rows.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace qv {

struct ReportColumn {
    const char* name;
    int width;
    int format;  // LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER
};

// Full-row selection and the columns, in order.
void AddReportColumns(HWND list, const ReportColumn* columns, int count);

// Appends a row with these texts, one per column from the first; its place.
int AppendReportRow(HWND list, const std::vector<const std::string*>& cells);

// The selected rows' places, ascending.
std::vector<size_t> SelectedReportRows(HWND list);

}  // namespace qv
