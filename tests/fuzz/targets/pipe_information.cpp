// The Information reply and the single-text replies, as an asker reads them
// from the pipe in chunks of any size.
#include "FuzzInput.h"
#include "PipeFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        fuzz::ChunkedSource source(data, size);
        qv::DesktopInformation info;
        qv::ReadInformation(source, &info);
        if (info.desktops.size() > qv::kMaxDesktopRecords) __builtin_trap();
        for (size_t i = 0; i < info.desktops.size(); ++i)
            if (info.desktops[i].index != static_cast<int32_t>(i) || (info.desktops[i].name.empty() && !info.desktops[i].id.empty()) ||
                info.desktops[i].id.size() >= qv::kCountedTextMax)
                __builtin_trap();
        info.Current();
        info.FindById("Default");
    }
    {
        fuzz::ChunkedSource source(data, size);
        std::string text;
        qv::ReadSingleText(source, &text);
        if (text.size() >= qv::kSingleTextMax) __builtin_trap();
    }
    return 0;
}
