#include "CtlOutput.h"

#include <windows.h>

#include <cstring>

#include <nlohmann/json.hpp>

#include "CtlCommand.h"
#include "DesktopWords.h"

namespace qv {

namespace {

std::wstring Wide(const std::string& text, unsigned codePage) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Narrow(const std::wstring& wide, unsigned codePage) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::string Utf8(const std::string& text, unsigned codePage) { return Narrow(Wide(text, codePage), CP_UTF8); }

std::string Dump(const nlohmann::json& document) {
    // Every text went through UTF-16 already; replace is only a guard.
    return document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

void PutLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

DesktopRow DesktopRowAt(const DesktopInformation& info, int index) {
    const DesktopRecord& record = info.desktops[static_cast<size_t>(index)];
    DesktopRow row;
    row.number = index + 1;
    row.id = record.id;
    row.title = RecordTitle(record);
    row.width = record.width;
    row.height = record.height;
    row.current = index == info.currentIndex;
    // The ring, and so the reply, starts at the daemon's home desktop.
    row.home = index == 0;
    return row;
}

std::vector<DesktopRow> DesktopRows(const DesktopInformation& info) {
    std::vector<DesktopRow> rows;
    for (size_t i = 0; i < info.desktops.size(); ++i) rows.push_back(DesktopRowAt(info, static_cast<int>(i)));
    return rows;
}

std::string DesktopLine(const DesktopRow& row) {
    const char* marks = row.current ? (row.home ? "current,home" : "current") : (row.home ? "home" : "-");
    return std::to_string(row.number) + "\t" + row.id + "\t" + row.title + "\t" + marks + "\n";
}

std::string StatusText(const std::vector<DesktopRow>& rows) {
    std::string text;
    for (const DesktopRow& row : rows) text += DesktopLine(row);
    return text;
}

std::string WindowsText(const std::vector<WindowRow>& rows) {
    std::string text;
    for (const WindowRow& row : rows)
        text += std::to_string(row.desktopNumber) + "\t" + WindowHandleText(row.handle) + "\t" +
                std::to_string(row.processId) + "\t" + row.module + "\t" + row.caption + "\n";
    return text;
}

std::string StatusJson(const std::vector<DesktopRow>& rows, unsigned codePage) {
    nlohmann::json desktops = nlohmann::json::array();
    for (const DesktopRow& row : rows)
        desktops.push_back({{"number", row.number},
                            {"id", Utf8(row.id, codePage)},
                            {"title", Utf8(row.title, codePage)},
                            {"width", row.width},
                            {"height", row.height},
                            {"current", row.current},
                            {"home", row.home}});
    return Dump({{"version", kCtlJsonVersion}, {"desktops", desktops}});
}

std::string WindowsJson(const std::vector<WindowRow>& rows, unsigned codePage) {
    nlohmann::json windows = nlohmann::json::array();
    for (const WindowRow& row : rows)
        windows.push_back({{"desktop", row.desktopNumber},
                           {"desktopId", Utf8(row.desktopId, codePage)},
                           {"handle", WindowHandleText(row.handle)},
                           {"processId", row.processId},
                           {"module", Utf8(row.module, codePage)},
                           {"caption", Utf8(row.caption, codePage)}});
    return Dump({{"version", kCtlJsonVersion}, {"windows", windows}});
}

std::string ConvertCodePage(const std::string& text, unsigned from, unsigned to) {
    if (from == to || text.empty()) return text;
    std::string converted = Narrow(Wide(text, from), to);
    return converted.empty() ? text : converted;
}

std::string BitmapFileBytes(const BitmapLines& snapshot) {
    const BitmapShape& shape = snapshot.shape;
    if (shape.width <= 0 || shape.height <= 0 || snapshot.lines.size() != static_cast<size_t>(shape.height))
        return std::string();
    const uint32_t lineBytes = static_cast<uint32_t>(BitmapLineBytes(shape.width));
    const uint32_t pixelBytes = lineBytes * static_cast<uint32_t>(shape.height);
    const uint32_t offset = 14 + 40;
    std::string out;
    out.reserve(offset + pixelBytes);
    out += "BM";
    PutLittleEndian(out, offset + pixelBytes, 4);
    PutLittleEndian(out, 0, 4);  // two reserved words
    PutLittleEndian(out, offset, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<uint32_t>(shape.width), 4);
    PutLittleEndian(out, static_cast<uint32_t>(shape.height), 4);  // positive: bottom-up, as the lines came
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 24, 2);
    PutLittleEndian(out, BI_RGB, 4);
    PutLittleEndian(out, pixelBytes, 4);
    PutLittleEndian(out, 2835, 4);  // 72 dots per inch
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 0, 4);
    for (const std::string& line : snapshot.lines) {
        if (line.size() != lineBytes) return std::string();
        out += line;
    }
    return out;
}

}  // namespace qv
