#include "BarSettings.h"

#include <cstring>

#include "Convert.h"
#include "Log.h"
#include "Messages.h"
#include "ParamLine.h"
#include "PathText.h"
#include "TextString.h"

namespace qv {

namespace {

constexpr char kQuickLaunchUnderAppData[] = "\\Microsoft\\Internet Explorer\\Quick Launch";

bool Is(const char* text, const char* wanted) { return std::strcmp(text, wanted) == 0; }

// One controller line; false for a key the controller does not have.
bool StoreControllerSetting(BarController* c, const char* key, const char* value) {
    if (Is(key, "MouseOver")) {
        c->mouseOver = ParseDecimal(value);
    } else if (Is(key, "FixPin")) {
        c->fixPin = ParseDecimal(value) != 0;
    } else if (Is(key, "RollTimer")) {
        c->rollTimer = ClampBarTimer(ParseDecimal(value));
    } else if (Is(key, "RegionTimer")) {
        c->regionTimer = ClampBarTimer(ParseDecimal(value));
    } else if (Is(key, "HangerSortID")) {
        c->hangerSortId = ParseDecimal(value);
    } else if (Is(key, "HangerSortDir")) {
        c->hangerSortAscending = ParseDecimal(value) != 0;
    } else if (Is(key, "MenuFileCond")) {
        c->menuFileCond = static_cast<uint32_t>(ParseDecimal(value)) & 0xFF;
    } else if (Is(key, "HotKeyActive")) {
        c->hotKeyActive = ParseWord32(value);
    } else if (Is(key, "InitHangonModule")) {
        TextString module(value);
        module.LowerAscii();
        c->initHangonModules.emplace_back(module.c_str());
    } else {
        return false;
    }
    return true;
}

// The lines of a block after its header, each given to onLine, up to its
// closing line or the end marker (true) or the end of the file (false).
template <class OnLine>
bool ReadBlockLines(ParamReader& reader, OnLine&& onLine) {
    for (;;) {
        switch (reader.Next()) {
        case ParamReader::kEof:
            return false;
        case ParamReader::kEndMarker:
        case ParamReader::kClose:
            return true;
        case ParamReader::kHeader:
        case ParamReader::kSetting:
            onLine(reader.Key(), reader.Value());
            break;
        }
    }
}

// The controller block after its header: true when it was closed.
bool ReadControllerBlock(ParamReader& reader, BarController* controller) {
    return ReadBlockLines(reader, [controller](const char* key, const char* value) {
        if (!StoreControllerSetting(controller, key, value)) WriteLog(msg::kUnknownKeyEntry, key);
    });
}

// A panel block after its header: whether it was closed, and in *complete
// whether it described a panel, the last one it completes.
bool ReadPanelBlock(ParamReader& reader, PanelDescription* panel, bool* complete) {
    bool kindGiven = false, completed = false;
    PanelDescription pending;
    const bool closed = ReadBlockLines(reader, [&](const char* key, const char* value) {
        if (Is(key, "MenuKind")) {
            pending.kind = PanelKindFromNumber(ParseDecimal(value));
            kindGiven = true;
        } else if (Is(key, "MenuString")) {
            pending.caption = value;
        } else if (Is(key, "StartDirectory") && kindGiven) {
            pending.startDirectory = value;
            *panel = pending;
            completed = true;
            pending = PanelDescription();
            kindGiven = false;
        }
    });
    *complete = closed && completed;
    return closed;
}

// A desktop block after its header: its panels, in file order, appended;
// false when the file ended inside it.
bool ReadDesktopBlock(ParamReader& reader, std::vector<PanelDescription>* panels) {
    for (;;) {
        switch (reader.Next()) {
        case ParamReader::kEof:
            return false;
        case ParamReader::kEndMarker:
        case ParamReader::kClose:
            return true;
        case ParamReader::kHeader:
            if (Is(reader.Key(), kMenuPanelHeader)) {
                PanelDescription panel;
                bool complete = false;
                if (!ReadPanelBlock(reader, &panel, &complete)) return false;
                if (complete) panels->push_back(std::move(panel));
            }
            break;
        case ParamReader::kSetting:
            break;
        }
    }
}

}  // namespace

int32_t ClampBarTimer(int32_t ms) {
    if (ms <= BarController::kTimerMin) return BarController::kTimerMin;
    if (ms >= BarController::kTimerMax) return BarController::kTimerMax;
    return ms;
}

BarReadResult ReadBarController(FILE* file, BarController* controller) {
    ParamReader reader(file);
    for (;;) {
        switch (reader.Next()) {
        case ParamReader::kEof:
        case ParamReader::kEndMarker:
            return BarReadResult::kRead;
        case ParamReader::kHeader:
            if (Is(reader.Key(), kBarControllerHeader) && !ReadControllerBlock(reader, controller))
                return BarReadResult::kCutShort;
            break;
        case ParamReader::kClose:
        case ParamReader::kSetting:
            if (Is(reader.Key(), "FileVersion")) controller->fileVersion = reader.Value();
            break;
        }
    }
}

BarReadResult ReadBarControllerFile(const char* path, BarController* controller) {
    FILE* file = std::fopen(path, "rt");
    if (!file) return BarReadResult::kNoFile;
    BarReadResult result = ReadBarController(file, controller);
    std::fclose(file);
    return result;
}

PanelKind PanelKindFromNumber(int32_t number) {
    return number >= 1 && number <= 4 ? static_cast<PanelKind>(number) : PanelKind::kFolder;
}

std::vector<PanelDescription> ReadPanelDescriptions(FILE* file, int desktopNumber) {
    std::vector<PanelDescription> panels;
    ParamReader reader(file);
    int blocks = 0;
    // The desktop blocks are counted wherever they stand; the lines of the
    // others, and of the controller, are passed over.
    for (;;) {
        ParamReader::Kind kind = reader.Next();
        if (kind == ParamReader::kEof || kind == ParamReader::kEndMarker) return panels;
        if (kind == ParamReader::kHeader && Is(reader.Key(), kBarDesktopHeader) && blocks++ == desktopNumber) break;
    }
    ReadDesktopBlock(reader, &panels);
    return panels;
}

std::vector<PanelDescription> DefaultPanelDescriptions() {
    return {{PanelKind::kUserFolder, "\xC3\xDE\xBD\xB8\xC4\xAF\xCC\xDF", "Desktop"},  // ﾃﾞｽｸﾄｯﾌﾟ
            {PanelKind::kCommonFolder, "Common \xC3\xDE\xBD\xB8\xC4\xAF\xCC\xDF", "Common Desktop"},  // Common ﾃﾞｽｸﾄｯﾌﾟ
            {PanelKind::kUserFolder, "\x82\xA8\x8B\x43\x82\xC9\x93\xFC\x82\xE8", "Favorites"}};  // お気に入り
}

std::vector<MenuPanel> ResolvePanels(const std::vector<PanelDescription>& panels, const char* parameterPath,
                                     const char* desktopName, const FolderSource& folders) {
    std::vector<MenuPanel> resolved;
    for (const PanelDescription& panel : panels) {
        MenuPanel shown;
        shown.kind = panel.kind;
        shown.caption = panel.caption.empty() ? panel.startDirectory : panel.caption;
        bool found = true;
        switch (panel.kind) {
        case PanelKind::kFolder:
            shown.folder = panel.startDirectory;
            break;
        case PanelKind::kUserFolder:
        case PanelKind::kCommonFolder:
            found = folders.ShellFolder(panel.kind == PanelKind::kCommonFolder, panel.startDirectory.c_str(),
                                        &shown.folder);
            break;
        case PanelKind::kQuickLaunch: {
            std::string appData;
            found = folders.ShellFolder(false, "AppData", &appData) &&
                    folders.IsDirectory(shown.folder = appData + kQuickLaunchUnderAppData);
            if (!found) found = folders.MappedQuickLaunch(&shown.folder) && folders.IsDirectory(shown.folder);
            break;
        }
        case PanelKind::kProgramList:
            shown.folder = std::string(parameterPath, DirectoryLength(parameterPath)) + desktopName + ".ini";
            break;
        }
        if (found) resolved.push_back(std::move(shown));
    }
    return resolved;
}

std::vector<MenuPanel> ReadDesktopPanels(const char* parameterPath, int desktopNumber, const char* desktopName,
                                         const FolderSource& folders) {
    std::vector<PanelDescription> panels;
    if (FILE* file = std::fopen(parameterPath, "rt")) {
        panels = ReadPanelDescriptions(file, desktopNumber);
        std::fclose(file);
    } else {
        panels = DefaultPanelDescriptions();
    }
    return ResolvePanels(panels, parameterPath, desktopName, folders);
}

BarReadResult ReadBarDocument(FILE* file, BarDocument* document) {
    ParamReader reader(file);
    bool controllerSeen = false;
    for (;;) {
        switch (reader.Next()) {
        case ParamReader::kEof:
        case ParamReader::kEndMarker:
            return BarReadResult::kRead;
        case ParamReader::kHeader:
            if (Is(reader.Key(), kBarControllerHeader)) {
                controllerSeen = true;
                if (!ReadControllerBlock(reader, &document->controller)) return BarReadResult::kCutShort;
            } else if (Is(reader.Key(), kBarDesktopHeader)) {
                // Menus before any controller belong to nobody: read past.
                std::vector<PanelDescription> panels;
                if (!ReadDesktopBlock(reader, &panels)) return BarReadResult::kCutShort;
                if (controllerSeen) document->desktops.push_back(std::move(panels));
            }
            break;
        case ParamReader::kClose:
        case ParamReader::kSetting:
            if (Is(reader.Key(), "FileVersion")) document->controller.fileVersion = reader.Value();
            break;
        }
    }
}

bool WriteBarDocument(FILE* file, const BarDocument& document) {
    const BarController& c = document.controller;
    std::fprintf(file, ";QVBarCntrl\nFileVersion\t0x0200\n%s {\n", kBarControllerHeader);
    std::fprintf(file, "\tMouseOver\t%d\n\tFixPin\t%d\n\tRollTimer\t%d\n\tRegionTimer\t%d\n\tHangerSortID\t%d\n"
                       "\tHangerSortDir\t%d\n\tMenuFileCond\t%u\n\tHotKeyActive\t0x%08X\n",
                 c.mouseOver, c.fixPin ? 1 : 0, c.rollTimer, c.regionTimer, c.hangerSortId, c.hangerSortAscending ? 1 : 0,
                 c.menuFileCond, c.hotKeyActive);
    for (const std::string& module : c.initHangonModules) std::fprintf(file, "\tInitHangonModule\t%s\n", module.c_str());
    std::fputs("}\n", file);
    for (const std::vector<PanelDescription>& panels : document.desktops) {
        std::fprintf(file, "%s {\n", kBarDesktopHeader);
        for (const PanelDescription& panel : panels)
            std::fprintf(file, "\t%s {\n\t\tMenuKind\t%d\n\t\tMenuString\t%s\n\t\tStartDirectory\t%s\n\t}\n",
                         kMenuPanelHeader, static_cast<int>(panel.kind), panel.caption.c_str(),
                         panel.startDirectory.c_str());
        std::fputs("}\n", file);
    }
    std::fputs("--EOF--\n", file);
    return std::ferror(file) == 0;
}

}  // namespace qv
