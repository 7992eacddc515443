#include "CaptureDialog.h"

#include <cstdio>

#include "DesktopDialogsRes.h"
#include "Handle.h"
#include "PathText.h"
#include "ProcessApi.h"
#include "SystemError.h"
#include "TextString.h"

namespace qv::config {

namespace {

inline constexpr char kSelf[] = "自分自身を指定しています.";
inline constexpr char kNoCursor[] = "ﾏｳｽｶｰｿﾙの座標獲得に失敗しました.";
inline constexpr char kNoWindow[] = "ｳｨﾝﾄﾞｳが選択されていません";
// A window's text is read into a buffer of this size, as the window lists do.
inline constexpr int kTitleBuffer = 387;

struct OptionBox {
    int id;
    uint32_t bit;
};
inline constexpr OptionBox kBoxes[] = {
    {IDC_CP_SKIP_LISTED, kCaptureSkipListed}, {IDC_CP_EMPTY_TITLES, kCaptureEmptyTitles},
    {IDC_CP_ZERO_SIZES, kCaptureZeroSizes},   {IDC_CP_DISABLED, kCaptureDisabled},
    {IDC_CP_MINIMIZED, kCaptureMinimized},    {IDC_CP_SIZE, kCaptureSize},
    {IDC_CP_PRIORITY, kCapturePriority},      {IDC_CP_REFUSE_SHELL, kCaptureRefuseShell},
    {IDC_CP_REFUSE_SELF, kCaptureRefuseSelf}};

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

std::string OwnProgram() {
    char own[MAX_PATH + 1] = "";
    const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(own) : std::string();
}

}  // namespace

BOOL CaptureDialog::OnInit() {
    Show();
    return TRUE;
}

void CaptureDialog::Show() {
    const bool replace = (m_options & kCaptureReplaceList) != 0;
    CheckRadioButton(Handle(), IDC_CP_KEEP, IDC_CP_REPLACE, replace ? IDC_CP_REPLACE : IDC_CP_KEEP);
    for (const OptionBox& box : kBoxes)
        CheckDlgButton(Handle(), box.id, (m_options & box.bit) ? BST_CHECKED : BST_UNCHECKED);
    // Dropping listed programs means something only while the list is kept.
    EnableWindow(GetDlgItem(Handle(), IDC_CP_SKIP_LISTED), !replace);
    if (m_namesOnly)
        for (int id : {IDC_CP_SIZE, IDC_CP_PRIORITY}) ShowWindow(GetDlgItem(Handle(), id), SW_HIDE);
}

void CaptureDialog::Read() {
    uint32_t options = m_options & ~(kCaptureReplaceList);
    if (IsDlgButtonChecked(Handle(), IDC_CP_REPLACE) == BST_CHECKED) options |= kCaptureReplaceList;
    for (const OptionBox& box : kBoxes) {
        if (IsDlgButtonChecked(Handle(), box.id) == BST_CHECKED)
            options |= box.bit;
        else
            options &= ~box.bit;
    }
    m_options = options;
}

BOOL CaptureDialog::OnCommand(WORD id, WORD code, HWND control) {
    switch (id) {
    case IDC_CP_KEEP:
    case IDC_CP_REPLACE:
        EnableWindow(GetDlgItem(Handle(), IDC_CP_SKIP_LISTED), id == IDC_CP_KEEP);
        return TRUE;
    case IDC_CP_DEFAULTS:
        m_options = kCaptureDefaults;
        Show();
        return TRUE;
    case IDC_CP_ALL:
        Read();
        End(kAll);
        return TRUE;
    case IDC_CP_MOUSE:
        Read();
        End(kMouse);
        return TRUE;
    default:
        return Dialog::OnCommand(id, code, control);
    }
}

void WindowPicker::Start(HWND dialog) {
    SetCapture(dialog);
    m_picking = true;
}

WindowPicker::Result WindowPicker::OnMessage(UINT message, HWND* picked, std::string* failure) {
    if (!m_picking || (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN && message != WM_CAPTURECHANGED))
        return Result::kNotPicking;
    m_picking = false;  // first: the release below sends WM_CAPTURECHANGED
    if (message == WM_CAPTURECHANGED) return Result::kCancelled;
    ReleaseCapture();
    if (message == WM_RBUTTONDOWN) return Result::kCancelled;
    POINT point;
    if (!GetCursorPos(&point)) {
        *failure = kNoCursor;
        return Result::kFailed;
    }
    HWND window = WindowFromPoint(point);
    if (!window) {
        *failure = kNoWindow;
        return Result::kFailed;
    }
    // Up the parents (a top-level pop-up's is its owner) to the last one.
    for (HWND parent = GetParent(window); parent; parent = GetParent(window)) window = parent;
    *picked = window;
    return Result::kPicked;
}

std::unique_ptr<Executant> EntryFromWindow(HWND window, uint32_t options, std::string* refusal) {
    refusal->clear();
    CaptureFacts facts;
    facts.owned = GetWindow(window, GW_OWNER) != nullptr;
    facts.enabled = IsWindowEnabled(window) != FALSE;
    facts.visible = IsWindowVisible(window) != FALSE;
    char title[kTitleBuffer] = "";
    GetWindowTextA(window, title, sizeof title);
    facts.title = title;
    char className[MAX_PATH + 1] = "";
    GetClassNameA(window, className, MAX_PATH);
    facts.className = className;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    facts.placementRead = GetWindowPlacement(window, &placement) != FALSE;
    if (!facts.placementRead) {
        *refusal = SystemErrorText();
        return nullptr;
    }
    const RECT& normal = placement.rcNormalPosition;
    facts.normalWidth = normal.right - normal.left;
    facts.normalHeight = normal.bottom - normal.top;
    facts.minimized = IsIconic(window) != FALSE;
    const CaptureVerdict verdict = JudgeWindow(facts, options);
    if (verdict != CaptureVerdict::kTaken) {
        *refusal = RefusalText(verdict);
        return nullptr;
    }

    UniqueHandle process = OpenWindowProcess(window, PROCESS_ALL_ACCESS);
    TextString program;
    if (!process || !ProcessModulePath(process.Get(), program)) return nullptr;
    if ((options & kCaptureRefuseSelf) && SamePath(program.c_str(), OwnProgram())) {
        *refusal = kSelf;
        return nullptr;
    }
    auto entry = std::make_unique<Executant>();
    char text[64];
    entry->AddEntry("ExecutionFileName", program.c_str());
    std::string folder(program.c_str(), DirectoryLength(program.c_str()));
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    entry->AddEntry("ExecutionPath", folder.c_str());
    std::snprintf(text, sizeof text, "%d,%d", static_cast<int>(normal.left), static_cast<int>(normal.top));
    entry->AddEntry("ExecutionPosition", text);
    if (options & kCaptureSize) {
        RECT now{};
        GetWindowRect(window, &now);
        std::snprintf(text, sizeof text, "%d,%d", static_cast<int>(now.right - now.left),
                      static_cast<int>(now.bottom - now.top));
        entry->AddEntry("ExecutionSize", text);
    }
    std::snprintf(text, sizeof text, "%u", placement.showCmd);
    entry->AddEntry("ExecutionShowMode", text);
    if (options & kCapturePriority) {
        const DWORD priorityClass = GetPriorityClass(process.Get());
        const int value = priorityClass == IDLE_PRIORITY_CLASS   ? 0x10
                          : priorityClass == HIGH_PRIORITY_CLASS ? 0x30
                                                                 : 0x20;
        std::snprintf(text, sizeof text, "0x%02X", value);
        entry->AddEntry("ExecutionPriority", text);
    }
    entry->Validate();
    entry->Apply();
    return entry;
}

std::vector<std::unique_ptr<Executant>> CaptureAll(uint32_t options) {
    struct Run {
        uint32_t options;
        DWORD ownProcess;
        std::vector<std::unique_ptr<Executant>> entries;
    } run{options, GetCurrentProcessId(), {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            Run& r = *reinterpret_cast<Run*>(param);
            // The configurator's own windows would be refused as its own
            // program anyway.
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            if (processId == r.ownProcess && (r.options & kCaptureRefuseSelf)) return TRUE;
            std::string refusal;
            if (auto entry = EntryFromWindow(window, r.options, &refusal)) r.entries.push_back(std::move(entry));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&run));
    return std::move(run.entries);
}

}  // namespace qv::config
