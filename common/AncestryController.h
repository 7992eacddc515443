#pragma once
// The switcher's global settings and the ring of desktop records: the one
// top-level record of the parameter file.

#include <cstdint>
#include <cstdio>

#include "AncestryDesktop.h"
#include "KeywordPairs.h"
#include "TextString.h"

namespace qv {

class AncestryController {
public:
    enum Key {
        kHotKeyNext,
        kHotKeyPrev,
        kHotKeyHome,
        kHotKeyMenu,
        kCheckIActive,
        kLogoColor,
        kDefaultTitle,
        kTitleDelay1,
        kTitleDelay2,
        kTitleDelay3,
        kInitChange,
        kRedrawFlag,
        kKeepBitmapSize,
        kWavFlag,
        kWavFile,
        kTitleDispPos,
        kQVControlBar,
        kExistsOpen,
        kHotKeyBack,
        kKeyCount
    };
    static constexpr char kHeader[] = "AncestryController::RingListClass";
    // The controller's hot keys in the one order everyone lists them in: the
    // daemon's hot-key ids 1 to 5, the configurator's tabs.
    static constexpr int kHotKeyCount = 5;
    static constexpr Key kHotKeys[kHotKeyCount] = {kHotKeyNext, kHotKeyPrev, kHotKeyHome, kHotKeyMenu, kHotKeyBack};
    uint32_t& HotKeyWord(int index);
    uint32_t HotKeyWord(int index) const { return const_cast<AncestryController*>(this)->HotKeyWord(index); }
    static constexpr int32_t kMaxTitleDelay = 9999;
    static constexpr int32_t kMaxBitmapSize = 32;
    static const KeywordTable& Keywords();

    AncestryController() = default;
    AncestryController(const AncestryController&) = delete;
    AncestryController& operator=(const AncestryController&) = delete;
    virtual ~AncestryController();

    virtual int Read(FILE* file);
    virtual int Write(FILE* file, int depth);
    // Unlinks a desktop, moves the entry point off it and destroys it.
    virtual void RemoveChild(AncestryDesktop* desktop);
    // Puts a desktop at the end of the ring.
    virtual void AddChild(AncestryDesktop* desktop);
    virtual const char* KeyName(int key) const;
    virtual int Validate();
    virtual void Apply();
    virtual void ResetKey(int key);
    virtual const char* DefaultText(int key) const;
    virtual int CountChildren() const;
    virtual AncestryDesktop* CreateChild();

    KeywordPairs& Properties() { return m_properties; }
    const KeywordPairs& Properties() const { return m_properties; }
    OwnedRing<AncestryDesktop>& Desktops() { return m_desktops; }
    const OwnedRing<AncestryDesktop>& Desktops() const { return m_desktops; }

    uint32_t m_dwHotKeyNext = 0;
    uint32_t m_dwHotKeyPrev = 0;
    uint32_t m_dwHotKeyHome = 0;
    uint32_t m_dwHotKeyMenu = 0;
    uint32_t m_dwHotKeyBack = 0;  // to the previous desktop, as the back command
    uint32_t m_crLogoColor = 0;
    TextString m_strDefaultTitle;
    int32_t m_nTitleDelay1 = 0;
    int32_t m_nTitleDelay2 = 0;
    int32_t m_nTitleDelay3 = 0;
    bool m_bCheckIActive = true;
    bool m_bInitChange = false;
    bool m_bRedraw = true;
    int32_t m_nKeepBitmapSize = 5;
    bool m_bSoundOn = false;
    TextString m_strSoundFile;
    int32_t m_nTitleDispPos = 0;
    bool m_bControlBar = true;
    bool m_bExistsOpen = true;

private:
    // Converts one key's text; a reset neither clamps nor keeps a hot key at 0.
    void ApplyKey(int key, const char* text, bool reset);

    KeywordPairs m_properties{Keywords()};
    OwnedRing<AncestryDesktop> m_desktops;
};

}  // namespace qv
