#include "AncestryController.h"

#include <algorithm>
#include <new>

#include "Convert.h"
#include "Log.h"
#include "Messages.h"
#include "RecordReader.h"

namespace qv {

namespace {

const KeywordRow kRows[] = {
    {"HotKeyNext", false, "0x00010022"},
    {"HotKeyPrev", false, "0x00010021"},
    {"HotKeyHome", false, "0x00010024"},
    {"HotKeyMenu", false, "0x00010023"},
    {"CheckIActive", false, "1"},
    {"LogoColor", false, "0x000FE80F"},
    {"DefaultTitle", false, ""},
    {"TitleDelay1", false, "200"},
    {"TitleDelay2", false, "800"},
    {"TitleDelay3", false, "1000"},
    {"InitChange", false, ""},
    {"RedrawFlag", false, ""},
    {"KeepBitmapSize", false, "4"},
    {"WavFlag", false, ""},
    {"WavFile", false, ""},
    {"TitleDispPos", false, ""},
    {"QVControlBar", false, "1"},
    {"ExistsOpen", false, "1"},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == AncestryController::kKeyCount);

const KeywordTable kKeywords(kRows);

}  // namespace

const KeywordTable& AncestryController::Keywords() { return kKeywords; }

AncestryController::~AncestryController() {
    RingListClass* entry = m_pDesktops;
    DestroyRing(entry);
}

void AncestryController::AddChild(AncestryDesktop* desktop) {
    RingListClass* ring = m_pDesktops;
    AppendToRing(ring, desktop);
    m_pDesktops = static_cast<AncestryDesktop*>(ring);
}

void AncestryController::RemoveChild(AncestryDesktop* desktop) {
    RingListClass* ring = m_pDesktops;
    RemoveFromRing(ring, desktop);
    m_pDesktops = static_cast<AncestryDesktop*>(ring);
    delete desktop;
}

int AncestryController::CountChildren() const { return CountRing(m_pDesktops); }

AncestryDesktop* AncestryController::CreateChild() { return new (std::nothrow) AncestryDesktop; }

int AncestryController::Read(FILE* file) {
    int made = 0;  // desktops made in this record name the next one, read or not
    auto onLine = [this](const char* key, const char* value) {
        if (kKeywords.Find(key) < 0)
            WriteLog(msg::kUnknownKeyController, key);
        else if (!m_properties.Append(key, value))
            WriteLog(msg::kOutOfMemory);
    };
    auto readChild = [this, &made](FILE* f) {
        AncestryDesktop* desktop = CreateChild();
        if (!desktop) return false;
        char name[32];
        std::snprintf(name, sizeof(name), "User_Desktop%d", made++);
        desktop->m_strDesktopName.Assign(name);
        if (desktop->Read(f) == 0)
            AddChild(desktop);
        else
            delete desktop;
        return true;
    };
    if (ReadRecordLines(file, AncestryDesktop::kHeader, onLine, readChild) < 0) return -1;
    if (const char* missing = kKeywords.MissingRequired(m_properties)) {
        WriteLog(msg::kNotDefined, missing);
        return -10;
    }
    Validate();
    Apply();
    return 0;
}

const char* AncestryController::KeyName(int key) const { return kKeywords.KeyName(key); }

const char* AncestryController::DefaultText(int key) const { return kKeywords.DefaultText(key); }

int AncestryController::Validate() {
    if (!kKeywords.AppendDefaults(m_properties)) {
        WriteLog(msg::kOutOfMemory);
        return -1;
    }
    return 0;
}

void AncestryController::ApplyKey(int key, const char* text, bool reset) {
    auto hotKey = [&](uint32_t& field) {
        uint32_t value = static_cast<uint32_t>(ParseHexCapable(text));
        if (value != 0 || reset) field = value;
    };
    auto delay = [&](int32_t& field) {
        int32_t value = ParseDecimal(text);
        field = reset ? value : std::clamp(value, 0, kMaxTitleDelay);
    };
    switch (key) {
    case kHotKeyNext: hotKey(m_dwHotKeyNext); break;
    case kHotKeyPrev: hotKey(m_dwHotKeyPrev); break;
    case kHotKeyHome: hotKey(m_dwHotKeyHome); break;
    case kHotKeyMenu: hotKey(m_dwHotKeyMenu); break;
    case kCheckIActive: m_bCheckIActive = ParseDecimal(text) != 0; break;
    case kLogoColor: m_crLogoColor = static_cast<uint32_t>(ParseHexCapable(text)); break;
    case kDefaultTitle:
        if (!reset) m_strDefaultTitle.Assign(text);
        break;
    case kTitleDelay1: delay(m_nTitleDelay1); break;
    case kTitleDelay2: delay(m_nTitleDelay2); break;
    case kTitleDelay3: delay(m_nTitleDelay3); break;
    case kInitChange: m_bInitChange = ParseDecimal(text) != 0; break;
    case kRedrawFlag: m_bRedraw = ParseDecimal(text) != 0; break;
    case kKeepBitmapSize: {
        int32_t value = ParseDecimal(text);
        m_nKeepBitmapSize = reset ? value : std::clamp(value, 0, kMaxBitmapSize);
        break;
    }
    case kWavFlag:
        if (reset) m_bSoundOn = false;  // the sound follows the file, never this flag
        break;
    case kWavFile:
        m_strSoundFile.Assign(text);
        m_bSoundOn = !m_strSoundFile.IsEmpty();
        break;
    case kTitleDispPos: m_nTitleDispPos = ParseDecimal(text); break;
    case kQVControlBar: m_bControlBar = ParseDecimal(text) != 0; break;
    case kExistsOpen: m_bExistsOpen = ParseDecimal(text) != 0; break;
    default: break;
    }
}

void AncestryController::Apply() {
    for (int key = 0; key < kKeyCount; ++key) ApplyKey(key, m_properties.Value(kKeywords.KeyName(key)), false);
}

void AncestryController::ResetKey(int key) {
    const char* text = kKeywords.DefaultText(key);
    if (!text) return;
    m_properties.Update(kKeywords.KeyName(key), text, true);
    ApplyKey(key, text, true);
}

int AncestryController::Write(FILE* file, int depth) {
    char text[32];
    auto set = [this](int key, const char* value, bool appendWhenAbsent) {
        m_properties.Update(kKeywords.KeyName(key), value, appendWhenAbsent);
    };
    auto hex = [&text](uint32_t value) -> const char* {
        std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(value));
        return text;
    };
    auto number = [&text](int32_t value) -> const char* {
        std::snprintf(text, sizeof(text), "%d", static_cast<int>(value));
        return text;
    };
    const uint32_t hotKeys[] = {m_dwHotKeyNext, m_dwHotKeyPrev, m_dwHotKeyHome, m_dwHotKeyMenu};
    for (int i = 0; i < 4; ++i) set(kHotKeyNext + i, hotKeys[i] != 0 ? hex(hotKeys[i]) : "", hotKeys[i] != 0);
    set(kLogoColor, hex(m_crLogoColor), true);
    set(kDefaultTitle, m_strDefaultTitle.c_str(), true);
    const int32_t delays[] = {m_nTitleDelay1, m_nTitleDelay2, m_nTitleDelay3};
    for (int i = 0; i < 3; ++i) set(kTitleDelay1 + i, number(delays[i]), delays[i] != 0);
    set(kCheckIActive, m_bCheckIActive ? "1" : "0", true);
    set(kInitChange, m_bInitChange ? "1" : "", m_bInitChange);
    set(kRedrawFlag, m_bRedraw ? "1" : "", m_bRedraw);
    set(kKeepBitmapSize, number(m_nKeepBitmapSize), m_nKeepBitmapSize > 0);
    set(kWavFile, m_bSoundOn ? m_strSoundFile.c_str() : "", m_bSoundOn);
    set(kTitleDispPos, m_nTitleDispPos != 0 ? number(m_nTitleDispPos) : "", m_nTitleDispPos != 0);
    set(kQVControlBar, m_bControlBar ? "" : "0", true);
    set(kExistsOpen, m_bExistsOpen ? "" : "0", true);

    WriteIndent(file, depth);
    std::fprintf(file, "%s\t{\n", kHeader);
    WritePairs(file, m_properties, depth + 1);
    for (AncestryDesktop* desktop : RingRange<AncestryDesktop>(m_pDesktops)) desktop->Write(file, depth + 1);
    WriteIndent(file, depth);
    std::fputs("}\n", file);
    std::fflush(file);
    return 0;
}

}  // namespace qv
