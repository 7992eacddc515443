#include "AncestryController.h"

#include <algorithm>
#include <new>

#include "Convert.h"
#include "KeyNames.h"
#include "Log.h"
#include "Messages.h"
#include "RecordIO.h"

namespace qv {

namespace {

constexpr KeywordRow kRows[] = {
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
    {"HotKeyBack", false, ""},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == AncestryController::kKeyCount);

constexpr KeywordTable kKeywords(kRows);

}  // namespace

const KeywordTable& AncestryController::Keywords() { return kKeywords; }

AncestryController::~AncestryController() = default;

uint32_t& AncestryController::HotKeyWord(int index) {
    uint32_t* const words[kHotKeyCount] = {&m_dwHotKeyNext, &m_dwHotKeyPrev, &m_dwHotKeyHome, &m_dwHotKeyMenu,
                                           &m_dwHotKeyBack};
    return *words[index];
}

void AncestryController::AddChild(AncestryDesktop* desktop) { m_desktops.Append(desktop); }

void AncestryController::RemoveChild(AncestryDesktop* desktop) {
    m_desktops.Remove(desktop);
    delete desktop;
}

int AncestryController::CountChildren() const { return m_desktops.Count(); }

AncestryDesktop* AncestryController::CreateChild() { return new (std::nothrow) AncestryDesktop; }

int AncestryController::Read(FILE* file) {
    KeywordPairs::ReadBuffer buffer(m_properties);
    int made = 0;  // desktops made in this record name the next one, read or not
    // The mode the display has while the file is read, asked of the first
    // desktop and given to the others.
    DisplayMode mode;
    bool modeKnown = false;
    auto onLine = [this](const char* key, const char* value) {
        StoreSetting(m_properties, key, value, msg::kUnknownKeyController);
    };
    auto readChild = [this, &made, &mode, &modeKnown](FILE* f) {
        AncestryDesktop* desktop = CreateChild();
        if (!desktop) return false;
        char name[32];
        std::snprintf(name, sizeof(name), "User_Desktop%d", made++);
        desktop->m_strDesktopName.Assign(name);
        if (!modeKnown) mode = desktop->DefaultDisplayMode();
        modeKnown = true;
        desktop->SetReadDisplayMode(mode);
        const int read = desktop->Read(f);
        // Later changes of a key ask the display as it is then.
        desktop->ClearReadDisplayMode();
        if (read == 0)
            AddChild(desktop);
        else
            delete desktop;
        return true;
    };
    if (ReadRecordLines(file, AncestryDesktop::kHeader, onLine, readChild) < 0) return -1;
    if (CheckRequired(m_properties) < 0) return -10;
    Validate();
    Apply();
    return 0;
}

const char* AncestryController::KeyName(int key) const { return kKeywords.KeyName(key); }

const char* AncestryController::DefaultText(int key) const { return kKeywords.DefaultText(key); }

int AncestryController::Validate() { return GiveDefaults(m_properties); }

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
    case kLogoColor: m_crLogoColor = ParseWord32(text); break;
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
    case kHotKeyBack:
        // Newer than the four, and read strictly: a word that is none is
        // said so in the log rather than taken for some other key.
        if (!ParseHotKeyWord(text, &m_dwHotKeyBack)) WriteLog(msg::kMalformedHotKey, "Controller", kKeywords.KeyName(key), text);
        break;
    default: break;
    }
}

void AncestryController::Apply() {
    for (int key = 0; key < kKeyCount; ++key) ApplyKey(key, m_properties.Value(key), false);
}

void AncestryController::ResetKey(int key) {
    const char* text = kKeywords.DefaultText(key);
    if (!text) return;
    m_properties.Update(key, text, true);
    ApplyKey(key, text, true);
}

int AncestryController::Write(FILE* file, int depth) {
    PairUpdater pairs(m_properties);
    for (int i = 0; i < kHotKeyCount; ++i) pairs.HotKey(kHotKeys[i], HotKeyWord(i));
    pairs.Hex(kLogoColor, m_crLogoColor, true);
    pairs.Text(kDefaultTitle, m_strDefaultTitle.c_str(), true);
    const int32_t delays[] = {m_nTitleDelay1, m_nTitleDelay2, m_nTitleDelay3};
    for (int i = 0; i < 3; ++i) pairs.Number(kTitleDelay1 + i, delays[i], delays[i] != 0);
    pairs.Text(kCheckIActive, m_bCheckIActive ? "1" : "0", true);
    pairs.Text(kInitChange, m_bInitChange ? "1" : "", m_bInitChange);
    pairs.Text(kRedrawFlag, m_bRedraw ? "1" : "", m_bRedraw);
    pairs.Number(kKeepBitmapSize, m_nKeepBitmapSize, m_nKeepBitmapSize > 0);
    pairs.Text(kWavFile, m_bSoundOn ? m_strSoundFile.c_str() : "", m_bSoundOn);
    if (m_nTitleDispPos != 0)
        pairs.Number(kTitleDispPos, m_nTitleDispPos, true);
    else
        pairs.Text(kTitleDispPos, "", false);
    pairs.Text(kQVControlBar, m_bControlBar ? "" : "0", true);
    pairs.Text(kExistsOpen, m_bExistsOpen ? "" : "0", true);

    WriteRecord(file, depth, kHeader, m_properties, [this](FILE* f, int childDepth) {
        for (AncestryDesktop* desktop : m_desktops) desktop->Write(f, childDepth);
    });
    return 0;
}

}  // namespace qv
