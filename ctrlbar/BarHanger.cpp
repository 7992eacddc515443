// The hanger's buttons on one bar: shown as the hanger lists its windows,
// clicked, dragged, and opened in their menu and dialogs.

#include <string>
#include <vector>

#include "BarButtons.h"
#include "BarIds.h"
#include "BarWindow.h"
#include "HangerRules.h"
#include "PopupMenu.h"
#include "Protocol.h"
#include "QVCtrlBarRes.h"

namespace qv {

namespace {

constexpr const char* kSortKeyTexts[kHangerSortKeys] = {"ﾓｼﾞｭｰﾙ", "ｷｬﾌﾟｼｮﾝ", "ｳｨﾝﾄﾞｳ面積", "左上座標", "ﾊﾝｸﾞｵﾝ順番"};

Box ScreenBox(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return Box{r.left, r.top, r.right, r.bottom};
}

// Opens centred below the button that opened it, kept on the screen.
void PlaceBelow(HWND dialog, const Box& button) {
    RECT r = {};
    GetWindowRect(dialog, &r);
    const Place at = DialogPlace(button, r.right - r.left, r.bottom - r.top, GetSystemMetrics(SM_CXSCREEN),
                                 GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

class HangerPropertiesDialog : public Dialog {
public:
    HangerPropertiesDialog(std::string text, Box button) : m_text(std::move(text)), m_button(button) {}

protected:
    BOOL OnInit() override {
        SetDlgItemTextA(Handle(), IDC_HANGER_INFO, m_text.c_str());
        PlaceBelow(Handle(), m_button);
        SetFocus(GetDlgItem(Handle(), IDC_HANGER_INFO));
        SendDlgItemMessageA(Handle(), IDC_HANGER_INFO, EM_SETSEL, 0, 0);
        return FALSE;
    }

private:
    std::string m_text;
    Box m_button;
};

class HangerSortDialog : public Dialog {
public:
    HangerSortDialog(int32_t key, bool ascending, Box button) : m_key(key), m_ascending(ascending), m_button(button) {}
    int32_t Key() const { return m_key; }
    bool Ascending() const { return m_ascending; }

protected:
    BOOL OnInit() override {
        for (const char* text : kSortKeyTexts) SendDlgItemMessageA(Handle(), IDC_HANGER_SORT_KEYS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        const int32_t selected = m_key >= 0 && m_key < kHangerSortKeys ? m_key : kSortByHangOnNumber;
        SendDlgItemMessageA(Handle(), IDC_HANGER_SORT_KEYS, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        CheckRadioButton(Handle(), IDC_HANGER_ASCENDING, IDC_HANGER_DESCENDING,
                         m_ascending ? IDC_HANGER_ASCENDING : IDC_HANGER_DESCENDING);
        PlaceBelow(Handle(), m_button);
        return TRUE;
    }
    BOOL OnCommand(WORD id, WORD code, HWND control) override {
        if (id == IDOK) {
            const LRESULT selected = SendDlgItemMessageA(Handle(), IDC_HANGER_SORT_KEYS, LB_GETCURSEL, 0, 0);
            if (selected >= 0 && selected < kHangerSortKeys) m_key = static_cast<int32_t>(selected);
            m_ascending = IsDlgButtonChecked(Handle(), IDC_HANGER_ASCENDING) == BST_CHECKED;
        }
        return Dialog::OnCommand(id, code, control);
    }

private:
    int32_t m_key;
    bool m_ascending;
    Box m_button;
};

}  // namespace

void BarWindow::RebuildHanger() {
    Hanger* hanger = m_shared.hanger;
    if (!hanger) return;
    std::vector<HangerView> views = hanger->Views();
    std::vector<HWND> buttons;
    for (size_t i = 0; i < views.size(); ++i) {
        HWND button = nullptr;
        // A window that stays keeps its button.
        for (size_t j = 0; j < m_hangerViews.size() && !button; ++j) {
            if (m_hangerViews[j].id == views[i].id) std::swap(button, m_hangerButtons[j]);
        }
        if (!button) {
            button = MakeButton(kHangerButtonClass, views[i].caption.c_str(), BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0,
                                m_hangerArea.Handle(), views[i].icon ? views[i].icon->Get() : nullptr);
            if (!button) continue;
        }
        SetWindowLongPtrA(button, GWLP_ID, kHangerButtonId + static_cast<LONG_PTR>(buttons.size()));
        buttons.push_back(button);
    }
    for (HWND gone : m_hangerButtons) {
        if (gone) DestroyWindow(gone);
    }
    m_hangerButtons = std::move(buttons);
    m_hangerViews = std::move(views);
    m_hangerOffset = ScrollBack(m_hangerOffset, static_cast<int>(m_hangerButtons.size()) * HangerButtonWidth(),
                                m_layout.hanger.width);
    PlaceButtons();
}

void BarWindow::OnHangerButton(size_t place, bool right) {
    if (place >= m_hangerViews.size()) return;
    const HangerView view = m_hangerViews[place];
    if (!right) {
        ActivateHungWindow(view);
        return;
    }
    HWND button = m_hangerButtons[place];
    PopupMenu menu;
    menu.Add(kMenuHangerProperties, "ﾌﾟﾛﾊﾟﾃｨ(&P)...");
    menu.Add(kMenuHangerSort, "ｿｰﾄ(&S)...");
    menu.Add(kMenuHangerRemove, "削除(&D)");
    const Box at = ScreenBox(button);
    switch (TrackMenu(menu.Get(), button)) {
    case kMenuHangerProperties: ShowHangerProperties(view.id, at); break;
    case kMenuHangerSort: ShowHangerSort(at); break;
    case kMenuHangerRemove:
        PostMessageA(m_shared.mainWindow, kRequestMessage, kBarRemoveEntryRequest, static_cast<LPARAM>(view.id));
        break;
    }
}

void BarWindow::ActivateHungWindow(const HangerView& view) {
    if (view.desktopNumber != m_number) SwitchToNumber(view.desktopNumber);
    // Asynchronous: a hung program must not hang the bar.
    ShowWindowAsync(view.window, SW_RESTORE);
    SetForegroundWindow(view.window);
}

void BarWindow::OnHangerDrop(size_t place) {
    if (place >= m_hangerViews.size()) return;
    HWND area = m_hangerArea.Handle();
    RECT dropped = {}, areaRect = {};
    GetWindowRect(m_hangerButtons[place], &dropped);
    MapWindowPoints(nullptr, area, reinterpret_cast<POINT*>(&dropped), 2);
    GetClientRect(area, &areaRect);
    const uint32_t id = m_hangerViews[place].id;
    if (DroppedOutside(Box{dropped.left, dropped.top, dropped.right, dropped.bottom}, areaRect.right, areaRect.bottom)) {
        PostMessageA(m_shared.mainWindow, kRequestMessage, kBarRemoveEntryRequest, static_cast<LPARAM>(id));
    } else {
        std::vector<int> lefts;
        for (size_t i = 0; i < m_hangerButtons.size(); ++i) {
            if (i == place) continue;
            RECT r = {};
            GetWindowRect(m_hangerButtons[i], &r);
            MapWindowPoints(nullptr, area, reinterpret_cast<POINT*>(&r), 2);
            lefts.push_back(r.left);
        }
        PostMessageA(m_shared.mainWindow, kHangerMoveMessage, id, static_cast<LPARAM>(DropPlace(lefts, dropped.left)));
    }
    // Back in its row until the hanger says where it goes.
    PlaceButtons();
}

void BarWindow::OnHangerMenu() {
    const std::vector<HangerView> views = m_hangerViews;
    PopupMenu menu;
    for (size_t i = 0; i < views.size(); ++i) {
        const std::string text = HangerMenuText(views[i].module, views[i].caption);
        MENUITEMINFOA item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_STRING | (views[i].icon ? MIIM_BITMAP : 0);
        item.wID = kMenuHanger + static_cast<UINT>(i);
        item.dwTypeData = const_cast<char*>(text.c_str());
        if (views[i].icon) item.hbmpItem = views[i].icon->Get();
        InsertMenuItemA(menu.Get(), static_cast<UINT>(i), TRUE, &item);
    }
    const UINT command = TrackMenu(menu.Get(), m_hangerMenu);
    if (command >= kMenuHanger && command - kMenuHanger < views.size()) ActivateHungWindow(views[command - kMenuHanger]);
}

void BarWindow::ShowHangerProperties(uint32_t id, const Box& button) {
    Hanger* hanger = m_shared.hanger;
    HangerFacts facts;
    if (!hanger || !hanger->Facts(id, &facts)) return;
    HangerPropertiesDialog dialog(HangerInfoText(facts), button);
    const Busy shown(*this, m_dialogOpen);
    dialog.DoModal(m_shared.instance, IDD_HANGER_PROPERTIES, Handle());
}

void BarWindow::ShowHangerSort(const Box& button) {
    Hanger* hanger = m_shared.hanger;
    if (!hanger) return;
    // The windows may have moved or been renamed since they were hung on.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(m_shared.mainWindow, kHangerRefreshMessage, 0, 0, SMTO_NORMAL, 10000, &result);
    HangerSortDialog dialog(hanger->SortKey(), hanger->SortAscending(), button);
    INT_PTR answer = IDCANCEL;
    {
        const Busy shown(*this, m_dialogOpen);
        answer = dialog.DoModal(m_shared.instance, IDD_HANGER_SORT, Handle());
    }
    if (answer == IDOK)
        PostMessageA(m_shared.mainWindow, kHangerSortMessage, static_cast<WPARAM>(dialog.Key()), dialog.Ascending() ? 1 : 0);
}

}  // namespace qv
