#include "BarConfigRules.h"

#include <windows.h>

#include <cstdio>

#include "SafeSave.h"

namespace qv::barconfig {

namespace {

struct FolderLabel {
    const char* value;
    const char* label;
};
inline constexpr FolderLabel kFolderLabels[] = {
    {"Cookies", "ｸｯｷｰ"},
    {"Desktop", "ﾃﾞｽｸﾄｯﾌﾟ"},
    {"Favorites", "お気に入り"},
    {"Programs", "ﾌﾟﾛｸﾞﾗﾑﾒﾆｭｰ"},
    {"Recent", "最近使ったﾌｧｲﾙ"},
    {"SendTo", "送るﾒﾆｭｰ"},
    {"Start Menu", "ｽﾀｰﾄﾒﾆｭｰ"},
    {"Common Desktop", "Common ﾃﾞｽｸﾄｯﾌﾟ"},
    {"Common Programs", "Common ﾌﾟﾛｸﾞﾗﾑﾒﾆｭｰ"},
    {"Common Start Menu", "Common ｽﾀｰﾄﾒﾆｭｰ"},
    {"Common Favorites", "Common お気に入り"},
};
inline constexpr const char* kOwnPrograms[] = {"Quorvel.exe", "QVCtrlBar.exe", "QVBarConfig.exe"};

}  // namespace

int TimerChoice(int32_t ms) {
    if (ms <= 1000) return 0;
    const int32_t seconds = (ms + 999) / 1000;
    return seconds >= kTimerChoices ? kTimerChoices - 1 : seconds - 1;
}

int32_t TimerOfChoice(int choice) {
    if (choice < 0) choice = 0;
    if (choice >= kTimerChoices) choice = kTimerChoices - 1;
    return (choice + 1) * 1000;
}

int HangerSortChoice(int32_t stored) { return stored >= 0 && stored < kHangOnOrder ? stored : kHangOnOrder; }

const char* KindLabel(PanelKind kind) {
    switch (kind) {
    case PanelKind::kUserFolder: return "CURRENT_USER";
    case PanelKind::kCommonFolder: return "LOCAL_MACHINE";
    case PanelKind::kQuickLaunch: return "Quick Lanunch";
    case PanelKind::kProgramList: return "Mendrel(INI)";
    default: return "Directory";
    }
}

std::string DesktopMenuLabel(size_t index) {
    if (index == 0) return "ﾃﾞﾌｫﾙﾄのﾃﾞｽｸﾄｯﾌﾟ";
    char text[64];
    std::snprintf(text, sizeof text, "追加%d番目のﾃﾞｽｸﾄｯﾌﾟ", static_cast<int>(index));
    return text;
}

std::vector<PanelDescription> NewDesktopMenus() {
    return {{PanelKind::kProgramList, "Mendrelﾒﾆｭｰ", "[Desktop_ID].ini"},
            {PanelKind::kQuickLaunch, "Quick Launch", "Quick Launch"},
            {PanelKind::kUserFolder, "ﾃﾞｽｸﾄｯﾌﾟ", "Desktop"},
            {PanelKind::kCommonFolder, "Common ﾃﾞｽｸﾄｯﾌﾟ", "Common Desktop"}};
}

BarDocument DefaultBarDocument() {
    BarDocument document;
    document.desktops.push_back(NewDesktopMenus());
    return document;
}

void ResetControllerKeys(BarController* controller) {
    BarController defaults;
    defaults.initHangonModules = std::move(controller->initHangonModules);
    defaults.fileVersion = std::move(controller->fileVersion);
    *controller = std::move(defaults);
}

std::vector<std::string> StoredHangOnModules(const std::vector<std::string>& list) {
    std::vector<std::string> stored;
    for (const std::string& module : list) {
        bool own = false;
        for (const char* program : kOwnPrograms) own = own || lstrcmpiA(module.c_str(), program) == 0;
        if (!own && !module.empty()) stored.push_back(module);
    }
    return stored;
}

std::string ShellFolderLabel(const std::string& valueName) {
    for (const FolderLabel& known : kFolderLabels)
        if (valueName == known.value) return known.label;
    return valueName;
}

bool LoadBarFile(const char* path, BarDocument* document, bool* missing) {
    FILE* file = std::fopen(path, "rt");
    *missing = file == nullptr;
    if (!file) return false;
    BarDocument read;
    const BarReadResult result = ReadBarDocument(file, &read);
    std::fclose(file);
    if (result != BarReadResult::kRead) return false;
    *document = std::move(read);
    return true;
}

bool SaveBarFile(const char* path, const BarDocument& document) {
    return SaveReplacing(path, [&document](FILE* file) { return WriteBarDocument(file, document); });
}

}  // namespace qv::barconfig
