#include "CaptureRules.h"

#include <cstdio>
#include <cstring>

#include "PathText.h"

namespace qv::config {

namespace {

std::string UpperName(const char* path) {
    std::string name = FileNamePart(path);
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name;
}

std::string ProgramNameOf(const Executant& entry) {
    const char* path = entry.Properties().Value("ExecutionFileName");
    return UpperName(path ? path : "");
}

}  // namespace

CaptureVerdict JudgeWindow(const CaptureFacts& w, uint32_t options) {
    if (w.owned) return CaptureVerdict::kOwned;
    if (!w.enabled && !(options & kCaptureDisabled)) return CaptureVerdict::kDisabled;
    if (!w.visible) return CaptureVerdict::kInvisible;
    if (w.title.empty() && !(options & kCaptureEmptyTitles)) return CaptureVerdict::kNoTitle;
    if ((options & kCaptureRefuseShell) && w.title == "Program Manager" && w.className == "Progman")
        return CaptureVerdict::kShell;
    if (!w.placementRead) return CaptureVerdict::kNoPlacement;
    if (w.normalWidth <= 0 && w.normalHeight <= 0 && !(options & kCaptureZeroSizes)) return CaptureVerdict::kZeroSize;
    if (w.minimized && !(options & kCaptureMinimized)) return CaptureVerdict::kMinimized;
    return CaptureVerdict::kTaken;
}

const char* RefusalText(CaptureVerdict verdict) {
    switch (verdict) {
    case CaptureVerdict::kOwned: return "ｵｰﾅを持つｳｨﾝﾄﾞｳですので取り込みできません.";
    case CaptureVerdict::kDisabled: return "ﾏｳｽ･ｷｰﾎﾞｰﾄﾞｲﾍﾞﾝﾄを受け付けないｳｨﾝﾄﾞｳですので取り込みできません.";
    case CaptureVerdict::kInvisible: return "ﾋﾞｼﾞﾌﾞﾙ属性を持たないｳｨﾝﾄﾞｳですので取り込みできません.";
    case CaptureVerdict::kNoTitle: return "ﾀｲﾄﾙが未設定のｳｨﾝﾄﾞｳですので取り込みできません.";
    case CaptureVerdict::kShell: return "ﾌﾟﾛｸﾞﾗﾑﾏﾈｼﾞｬｸﾗｽです.";
    case CaptureVerdict::kZeroSize: return "ｳｨﾝﾄﾞｳｻｲｽﾞが０ですので取り込みできません.";
    case CaptureVerdict::kMinimized: return "ｱｲｺﾝ状態ですので取り込みできません.";
    default: return "";
    }
}

std::string MergeCaptured(OwnedRing<Executant>& list, std::vector<std::unique_ptr<Executant>> captured,
                          uint32_t options) {
    const size_t count = captured.size();
    size_t appended = 0;
    if (options & kCaptureReplaceList) list.Clear();
    for (auto& entry : captured) {
        bool listed = false;
        if (!(options & kCaptureReplaceList) && (options & kCaptureSkipListed)) {
            const std::string name = ProgramNameOf(*entry);
            for (const Executant* existing : list) listed = listed || ProgramNameOf(*existing) == name;
        }
        if (listed) continue;
        list.Append(entry.release());
        ++appended;
    }
    return CaptureMessage(count, appended);
}

std::string CaptureMessage(size_t count, size_t appended) {
    char text[128];
    if (appended == 0)
        return count == 1 ? "既にﾘｽﾄに登録済みのモジュールですので、取り込みませんでした."
                          : "既にﾘｽﾄに登録済みのモジュールですので、１件も取り込みませんでした.";
    if (appended < count)
        std::snprintf(text, sizeof text, "既に登録済みのモジュールを除いて %d 件取り込みました.", static_cast<int>(appended));
    else
        std::snprintf(text, sizeof text, "%d 件取り込みました.", static_cast<int>(appended));
    return text;
}

std::string MergeCapturedNames(std::vector<std::string>& list, const std::vector<std::string>& captured,
                               uint32_t options) {
    size_t appended = 0;
    if (options & kCaptureReplaceList) list.clear();
    for (const std::string& name : captured) {
        bool listed = false;
        if (!(options & kCaptureReplaceList) && (options & kCaptureSkipListed))
            for (const std::string& existing : list) listed = listed || UpperName(existing.c_str()) == UpperName(name.c_str());
        if (listed) continue;
        list.push_back(name);
        ++appended;
    }
    return CaptureMessage(captured.size(), appended);
}

}  // namespace qv::config
