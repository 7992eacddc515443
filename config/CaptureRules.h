#pragma once
// Which running windows the desktop dialog's capture takes as program
// entries, and how the captured entries join the desktop's list.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Executant.h"
#include "RingList.h"

namespace qv::config {

enum CaptureOption : uint32_t {
    kCaptureEmptyTitles = 0x00000004,
    kCaptureZeroSizes = 0x00000008,
    kCaptureDisabled = 0x00000010,
    kCaptureMinimized = 0x00000040,
    kCaptureSize = 0x00000100,
    kCapturePriority = 0x00000200,
    kCaptureRefuseShell = 0x00000400,
    kCaptureRefuseSelf = 0x00000800,
    kCaptureReplaceList = 0x10000000,
    kCaptureSkipListed = 0x20000000,
};
inline constexpr uint32_t kCaptureDefaults = 0x20000D50;

// What is known of a window when it is judged.
struct CaptureFacts {
    bool owned = false;
    bool enabled = true;
    bool visible = true;
    std::string title;
    std::string className;
    bool placementRead = true;
    int32_t normalWidth = 0;
    int32_t normalHeight = 0;
    bool minimized = false;
};

enum class CaptureVerdict { kTaken, kOwned, kDisabled, kInvisible, kNoTitle, kShell, kNoPlacement, kZeroSize, kMinimized };
CaptureVerdict JudgeWindow(const CaptureFacts& window, uint32_t options);
// The message of a refusal when a window is picked with the mouse; empty for
// a taken window and for an unreadable placement, which the system explains.
const char* RefusalText(CaptureVerdict verdict);

// The message once count windows were captured and appended of them joined.
std::string CaptureMessage(size_t count, size_t appended);
// Joins the captured entries to the list as the options say and returns the
// message for the user.
std::string MergeCaptured(OwnedRing<Executant>& list, std::vector<std::unique_ptr<Executant>> captured,
                          uint32_t options);

// The same for a list of module file names (the bar configurator's modules
// hung on at the start): a name already listed counts as registered.
std::string MergeCapturedNames(std::vector<std::string>& list, const std::vector<std::string>& captured,
                               uint32_t options);

}  // namespace qv::config
