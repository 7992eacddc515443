// The snapshot reply, read from the pipe in chunks of any size into the
// bytes of its lines.
#include "FuzzInput.h"
#include "PipeFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ChunkedSource source(data, size);
    qv::BitmapLines lines;
    int32_t linesRead = -1;
    const qv::QueryResult result = qv::ReadBitmap(source, lines, &linesRead);
    if (linesRead < 0 || static_cast<size_t>(linesRead) != lines.lines.size()) __builtin_trap();
    if (result == qv::QueryResult::kOk && linesRead != lines.shape.height) __builtin_trap();
    for (const std::string& line : lines.lines)
        if (line.size() != qv::BitmapLineBytes(lines.shape.width)) __builtin_trap();
    return 0;
}
