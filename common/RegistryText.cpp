#include "RegistryText.h"

#include <cstring>

#include "Handle.h"

namespace qv {

namespace {

// Paths are short; a value claiming more is not a folder.
constexpr DWORD kMaxValue = 32768;

}  // namespace

bool ExpandEnvironmentText(const std::string& text, std::string* expanded) {
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0 || needed > kMaxValue) return false;
    // The ANSI form wants room for one byte beyond the text and its terminator.
    std::string result(needed + 1, '\0');
    if (ExpandEnvironmentStringsA(text.c_str(), result.data(), needed + 1) == 0) return false;
    result.resize(std::strlen(result.c_str()));
    *expanded = std::move(result);
    return true;
}

bool ReadRegistryText(HKEY root, const char* keyName, const char* valueName, std::string* text) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, keyName, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    UniqueRegistryKey key(opened);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.Get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || size > kMaxValue)
        return false;
    std::string value(size + 1, '\0');
    if (RegQueryValueExA(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    value.resize(std::strlen(value.c_str()));
    if (type == REG_EXPAND_SZ && !ExpandEnvironmentText(value, &value)) return false;
    *text = std::move(value);
    return !text->empty();
}

}  // namespace qv
