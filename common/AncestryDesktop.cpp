#include "AncestryDesktop.h"

#include <new>
#include <string>

#include "Convert.h"
#include "KeyNames.h"
#include "Log.h"
#include "Messages.h"
#include "RecordIO.h"

namespace qv {

namespace {

constexpr KeywordRow kRows[] = {
    {"DesktopName", false, ""},
    {"DesktopTitleColor", false, "0x000FE80F"},
    {"DesktopExitProgman", false, "0x00000000"},
    {"DesktopProgmanDelay", false, "250"},
    {"DesktopWallpaperChange", false, ""},
    {"DesktopWallpaper", false, ""},
    {"DesktopDisplayChange", false, ""},
    {"DesktopBitsPerPel", false, ""},
    {"DesktopPelsWidth", false, ""},
    {"DesktopPelsHeight", false, ""},
    {"DesktopFrequency", false, ""},
    {"DesktopWavFlag", false, ""},
    {"DesktopWavFile", false, ""},
    {"DesktopExitCancelOK", false, ""},
    {"DesktopHotKey", false, ""},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == AncestryDesktop::kKeyCount);

constexpr KeywordTable kKeywords(kRows);

// A mode value of 0 means "as the display is now".
int32_t ModeValue(const char* text, int32_t current) {
    int32_t value = ParseHexCapable(text);
    return value != 0 ? value : current;
}

}  // namespace

const KeywordTable& AncestryDesktop::Keywords() { return kKeywords; }

int AncestryDesktop::Read(FILE* file) {
    KeywordPairs::ReadBuffer buffer(m_properties);
    auto onLine = [this](const char* key, const char* value) {
        StoreSetting(m_properties, key, value, msg::kUnknownKeyDesktop);
    };
    auto readChild = [this](FILE* f) {
        Executant* entry = CreateChild();
        if (!entry) return false;
        if (entry->Read(f) == 0)
            m_executants.Append(entry);
        else
            delete entry;
        return true;
    };
    if (ReadRecordLines(file, Executant::kHeader, onLine, readChild) < 0) return -1;
    if (CheckRequired(m_properties) < 0) return -10;
    Validate();
    Apply();
    m_nState = kRead;
    return 0;
}

Executant* AncestryDesktop::CreateChild() { return new (std::nothrow) Executant; }

const char* AncestryDesktop::KeyName(int key) const { return kKeywords.KeyName(key); }

const char* AncestryDesktop::DefaultText(int key) const { return kKeywords.DefaultText(key); }

int AncestryDesktop::Validate() { return GiveDefaults(m_properties); }

void AncestryDesktop::SetName(const char* name) {
    m_strDesktopName.Assign(name);
    Validate();
    Apply();
}

void AncestryDesktop::ApplyKey(int key, const char* text, const DisplayMode& current) {
    switch (key) {
    case kName: m_strTitle.Assign(text); break;
    case kTitleColor: m_crTitleColor = ParseWord32(text); break;
    case kExitProgman: m_dwExitOptions = ParseWord32(text); break;
    case kProgmanDelay: m_nShellCloseDelay = ParseDecimal(text); break;
    case kWallpaperChange: m_bChgWallpaper = ParseDecimal(text) != 0; break;
    case kWallpaper:
        if (m_bChgWallpaper) m_strWallpaper.Assign(text);
        break;
    case kDisplayChange: m_bChgDisplay = ParseDecimal(text) != 0; break;
    case kBitsPerPel: m_nBitsPerPel = ModeValue(text, current.bitsPerPel); break;
    case kPelsWidth: m_nPelsWidth = ModeValue(text, current.width); break;
    case kPelsHeight: m_nPelsHeight = ModeValue(text, current.height); break;
    case kFrequency: m_nFrequency = ModeValue(text, current.frequency); break;
    case kWavFlag: m_bSoundOn = false; break;  // the sound follows the file, never this flag
    case kWavFile:
        m_strSoundFile.Assign(text);
        m_bSoundOn = !m_strSoundFile.IsEmpty();
        break;
    case kExitCancelOK: m_nExitCancelOK = ParseDecimal(text); break;
    case kHotKey:
        if (!ParseHotKeyWord(text, &m_dwHotKey)) {
            const std::string record = std::string("Desktop [") + m_strDesktopName.c_str() + "]";
            WriteLog(msg::kMalformedHotKey, record.c_str(), kKeywords.KeyName(key), text);
        }
        break;
    default: break;
    }
}

void AncestryDesktop::Apply() {
    const DisplayMode current = DefaultDisplayMode();
    for (int key = 0; key < kKeyCount; ++key)
        if (key != kWavFlag) ApplyKey(key, m_properties.Value(key), current);
}

void AncestryDesktop::ResetKey(int key) {
    const char* text = kKeywords.DefaultText(key);
    if (!text) return;
    m_properties.Update(key, text, true);
    DisplayMode current;
    if (key >= kBitsPerPel && key <= kFrequency) current = CurrentDisplayMode();
    ApplyKey(key, text, current);
}

int AncestryDesktop::Write(FILE* file, int depth) {
    PairUpdater pairs(m_properties);
    pairs.Text(kName, m_strTitle.c_str(), true);
    pairs.Hex(kTitleColor, m_crTitleColor, true);
    pairs.Hex(kExitProgman, m_dwExitOptions, true);
    pairs.Number(kProgmanDelay, m_nShellCloseDelay, true);
    pairs.Text(kWallpaperChange, m_bChgWallpaper ? "1" : "", true);
    pairs.Text(kWallpaper, m_bChgWallpaper ? m_strWallpaper.c_str() : "", m_bChgWallpaper);
    pairs.Text(kDisplayChange, m_bChgDisplay ? "1" : "", true);
    const int32_t mode[] = {m_nBitsPerPel, m_nPelsWidth, m_nPelsHeight, m_nFrequency};
    for (int i = 0; i < 4; ++i) {
        if (m_bChgDisplay)
            pairs.Number(kBitsPerPel + i, mode[i], true);
        else
            pairs.Text(kBitsPerPel + i, "", false);
    }
    pairs.Text(kWavFile, m_bSoundOn ? m_strSoundFile.c_str() : "", m_bSoundOn);
    pairs.Text(kExitCancelOK, m_nExitCancelOK != 0 ? "1" : "", true);
    pairs.HotKey(kHotKey, m_dwHotKey);

    WriteRecord(file, depth, kHeader, m_properties, [this](FILE* f, int childDepth) {
        for (Executant* entry : m_executants) entry->Write(f, childDepth, true);
    });
    return 0;
}

}  // namespace qv
