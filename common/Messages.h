#pragma once
// Diagnostic texts of the parameter-file readers, written to the log.

namespace qv::msg {

inline constexpr char kEndMarkerInside[] = "終了識別子が途中で見つかりました.\n";
inline constexpr char kOutOfMemory[] = "メモリ不足です.\n";
inline constexpr char kOutOfMemoryEntry[] = "メモリ不足です.";
inline constexpr char kValidateOutOfMemory[] = "メモリが足りません.\n";
inline constexpr char kUnknownClass[] = "クラス [%s] は認識できません.\n";
inline constexpr char kNotDefined[] = "%sが定義されていません.\n";
inline constexpr char kNotDefinedEntry[] = "%sが定義されていません.";
inline constexpr char kUnknownKeyController[] = "Controller : KeyWord[%s]は、認識できません.\n";
inline constexpr char kUnknownKeyDesktop[] = "Desktop : KeyWord[%s]は、認識できません.\n";
inline constexpr char kUnknownKeyEntry[] = "Executer : KeyWord[%s]は、認識できません.";

}  // namespace qv::msg
