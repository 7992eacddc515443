#include "WindowListRules.h"

#include <cstdio>
#include <cstring>

#include "Protocol.h"
#include "Sjis.h"

namespace qv {

namespace {

inline constexpr char kAscendingMark[] = " \x81\xA3";  // " ▲"
inline constexpr char kDescendingMark[] = " \x81\xA5";  // " ▼"

}  // namespace

bool ListsWindow(const WindowFacts& window, uint32_t options) {
    if (window.ownProcess) return false;
    if (!window.visible && !(options & kInvisibleWindows)) return false;
    if (!window.enabled && !(options & kDisabledWindows)) return false;
    if (!window.placementRead) return false;
    if (window.normalWidth <= 0 && window.normalHeight <= 0 && !(options & kZeroSizes)) return false;
    if (window.owned && !(options & kOwnedWindows)) return false;
    if (window.caption.empty() && !(options & kEmptyCaptions)) return false;
    if (window.className == "Progman" && window.caption == "Program Manager" && !(options & kProgramManager))
        return false;
    if (window.className == kBarThreadWindowClass && window.caption == kBarWindowName)
        return false;
    return true;
}

std::string CleanCaption(const char* text) {
    std::string clean;
    for (const char* p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (IsSjisLead(c) && p[1]) {
            clean += *p++;
            clean += *p;
        } else if (c >= 0x20) {
            clean += *p;
        }
    }
    return clean;
}

std::string UpperCaseModule(const char* name) {
    std::string upper;
    for (const char* p = name; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (IsSjisLead(c) && p[1]) {
            upper += *p++;
            upper += *p;
        } else {
            upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : *p;
        }
    }
    return upper;
}

std::string DesktopTitle(const char* title, const char* id) {
    std::string clean = CleanCaption(title);
    return clean.empty() ? std::string(id) : clean;
}

std::string SwitchText(int index) {
    char text[16];
    std::snprintf(text, sizeof text, "+%d", index + 1);
    return text;
}

void SortOrder::Click(int column) {
    if (column == m_column) {
        m_ascending = !m_ascending;
    } else {
        m_column = column;
        m_ascending = true;
    }
}

void SortOrder::SortAscending(int column) {
    m_column = column;
    m_ascending = true;
}

std::string SortOrder::HeaderText(int column, const char* name) const {
    std::string text = name;
    if (column == m_column) text += m_ascending ? kAscendingMark : kDescendingMark;
    return text;
}

int SortOrder::Compare(const char* a, const char* b) const {
    int order = std::strcmp(a, b);
    order = order < 0 ? -1 : order > 0 ? 1 : 0;
    return m_ascending ? order : -order;
}

}  // namespace qv
