#include "SafeSave.h"

#include <windows.h>

#include <string>

namespace qv {

bool SaveReplacing(const char* path, const std::function<bool(FILE*)>& write, bool binary) {
    const std::string temporary = std::string(path) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), binary ? "wb" : "wt");
    if (!file) return false;
    const bool written = write(file) && std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || !MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace qv
