// The line splitter and the line reader under every parameter file.
#include <cstring>
#include <string>

#include "FuzzInput.h"
#include "ParamLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One line as the splitter receives it: NUL-terminated, any bytes.
    std::string line(reinterpret_cast<const char*>(data), size);
    char* keyword = nullptr;
    char* value = nullptr;
    qv::SplitLine(&line[0], &keyword, &value);
    // Both results point into the line.
    const char* begin = line.c_str();
    const char* end = begin + line.size();
    if (keyword < begin || keyword > end || value < begin || value > end) __builtin_trap();
    qv::IsCommentLine(line.c_str());

    fuzz::MemoryFile file(data, size);
    if (!file.Get()) return 0;
    qv::ParamReader reader(file.Get());
    while (reader.Next() != qv::ParamReader::kEof) {
        if (std::strlen(reader.Key()) >= qv::kLineBuffer || std::strlen(reader.Value()) >= qv::kLineBuffer)
            __builtin_trap();
    }
    return 0;
}
