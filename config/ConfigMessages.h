#pragma once
// The messages both configurators show alike, word for word.

namespace qv::config {

inline constexpr char kBadPath[] = "保存ファイル名が不正です.";
inline constexpr char kDiscardQuestion[] = "変更内容が破棄されます. 読み込みますか?";
inline constexpr char kLoaded[] = "新しい定義ファイルを読み込みました.";
inline constexpr char kLoadFailed[] = "ファイル[%s]の読み込みに失敗しました.";
inline constexpr char kCannotCreate[] = "%s ファイルが作成できません.";
inline constexpr char kEndQuestion[] =
    "変更内容が保存されていません. 保存してから終了しますか？\r\n\t[はい]\t保存終了します\r\n\t[いいえ]\t破棄終了します\r\n"
    "\t[ｷｬﾝｾﾙ]\t中止します\r\n";
inline constexpr char kSaveFirst[] = "まず、変更を保存します. よろしいですか？";
inline constexpr char kRestartQuestion[] = "再起動します. よろしいですか？\r\n";

}  // namespace qv::config
