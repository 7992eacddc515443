#pragma once
// One desktop's settings: title and colour, exit rules, wallpaper, display
// mode, switch sound, and the program entries started on it.

#include <cstdint>
#include <cstdio>

#include "DisplayMode.h"
#include "Executant.h"
#include "KeywordPairs.h"
#include "RingList.h"
#include "TextString.h"

namespace qv {

class AncestryDesktop : public RingListClass {
public:
    enum Key {
        kName,
        kTitleColor,
        kExitProgman,
        kProgmanDelay,
        kWallpaperChange,
        kWallpaper,
        kDisplayChange,
        kBitsPerPel,
        kPelsWidth,
        kPelsHeight,
        kFrequency,
        kWavFlag,
        kWavFile,
        kExitCancelOK,
        kHotKey,
        kKeyCount
    };
    enum State { kNew = 0, kRead = 1, kUsable = 2 };
    static constexpr char kHeader[] = "AncestryDesktop::RingListClass";
    static const KeywordTable& Keywords();

    AncestryDesktop() = default;

    virtual int Read(FILE* file);
    virtual int Write(FILE* file, int depth);
    // Names an adopted desktop and gives it every default.
    virtual void SetName(const char* name);
    virtual const char* KeyName(int key) const;
    virtual int Validate();
    virtual void Apply();
    virtual Executant* CreateChild();
    virtual void ResetKey(int key);
    virtual const char* DefaultText(int key) const;

    // The display mode that the mode keys default to: the one given for the
    // read of a whole file, else the display's mode now. Asking the display
    // is a round trip to the display server (under Wine about a millisecond,
    // the most part of reading a desktop record), so a file's reader asks
    // once and gives the answer to every desktop it reads.
    DisplayMode DefaultDisplayMode() const { return m_bReadModeSet ? m_readMode : CurrentDisplayMode(); }
    void SetReadDisplayMode(const DisplayMode& mode) {
        m_readMode = mode;
        m_bReadModeSet = true;
    }
    void ClearReadDisplayMode() { m_bReadModeSet = false; }

    KeywordPairs& Properties() { return m_properties; }
    const KeywordPairs& Properties() const { return m_properties; }
    OwnedRing<Executant>& Executants() { return m_executants; }
    const OwnedRing<Executant>& Executants() const { return m_executants; }

    int32_t m_nState = kNew;
    TextString m_strDesktopName;  // the desktop object's name, its DesktopID
    TextString m_strTitle;
    uint32_t m_dwExitOptions = 0;
    int32_t m_nShellCloseDelay = 0;
    uint32_t m_crTitleColor = 0;
    bool m_bChgWallpaper = false;
    TextString m_strWallpaper;
    bool m_bChgDisplay = false;
    int32_t m_nBitsPerPel = 0;
    int32_t m_nPelsWidth = 0;
    int32_t m_nPelsHeight = 0;
    int32_t m_nFrequency = 0;
    bool m_bSoundOn = false;
    TextString m_strSoundFile;
    int32_t m_nExitCancelOK = 0;
    uint32_t m_dwHotKey = 0;  // switches straight to this desktop; 0 none

protected:
    // Where the display-mode defaults come from.
    virtual DisplayMode CurrentDisplayMode() const { return QueryCurrentDisplayMode(); }

private:
    void ApplyKey(int key, const char* text, const DisplayMode& current);

    KeywordPairs m_properties{Keywords()};
    OwnedRing<Executant> m_executants;
    DisplayMode m_readMode;
    bool m_bReadModeSet = false;
};

}  // namespace qv
