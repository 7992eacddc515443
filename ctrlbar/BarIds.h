#pragma once
// Control ids of a bar's buttons, its timers and its menu commands.

namespace qv {

enum BarControl : int {
    kSystemButtonId = 100,
    kPinButtonId,
    kTitleButtonId,
    kHangerMenuButtonId,
    kFirstKnobId,
    kSecondKnobId,
    kSwitchMenuButtonId,
    kPreviousPageId,  // "-1"
    kNextPageId,      // "+1"
    kBackPageId,      // "B"
    kDesktopButtonId = 200,  // + the desktop's number
    kHangerButtonId = 300,   // + the button's place in the hanger
};

enum BarTimer : UINT_PTR {
    kRollTimerId = 1,
    kRegionTimerId,
    kRelayoutTimerId,
};

enum BarMenuCommand : UINT {
    kMenuMendrel = 1,
    kMenuConfig,
    kMenuBarConfig,
    kMenuEndBar,
    kMenuEndBoth,
    kMenuSwitch,            // the one item of a paging or desktop button's menu
    kMenuHangerProperties,
    kMenuHangerSort,
    kMenuHangerRemove,
    kMenuDesktop = 0x100,   // + the desktop's number: the switch menu
    kMenuHanger = 0x1000,   // + the entry's place: the hanger menu
};

}  // namespace qv
