#include "Executant.h"

#include <cstring>

#include "Convert.h"
#include "Log.h"
#include "Messages.h"
#include "RecordIO.h"

namespace qv {

namespace {

constexpr KeywordRow kRows[] = {
    {"ExecutionFileName", true, ""},
    {"ExecutionArguments", false, ""},
    {"ExecutionPath", false, ""},
    {"ExecutionPosition", false, "0x80000000,0x80000000"},
    {"ExecutionSize", false, "0x80000000,0x80000000"},
    {"ExecutionShowMode", false, "1"},
    {"ExecutionDisableIME", false, ""},
    {"ExecutionInitialOnce", false, ""},
    {"ExecutionPriority", false, ""},
    {"ExecutionInputTO", false, "5000"},
    {"ExecutionShellExec", false, ""},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == Executant::kKeyCount);

constexpr KeywordTable kKeywords(kRows);

// A pair of coordinates counts only when both scan and neither is unset.
bool ApplyPair(const KeywordPairs& pairs, int key, int32_t* a, int32_t* b) {
    if (!pairs.Has(key) || !ScanIntPair(pairs.Value(key), a, b)) return false;
    return *a != Executant::kUnset && *b != Executant::kUnset;
}

void FormatPair(char (&text)[32], bool set, int32_t a, int32_t b) {
    text[0] = '\0';
    if (set && a != Executant::kUnset && b != Executant::kUnset) std::snprintf(text, sizeof(text), "%d,%d", a, b);
}

}  // namespace

const KeywordTable& Executant::Keywords() { return kKeywords; }

int Executant::Read(FILE* file) {
    KeywordPairs::ReadBuffer buffer(m_properties);
    auto onLine = [this](const char* key, const char* value) {
        int added = AddEntry(key, value);
        if (added == 0) WriteLog(msg::kUnknownKeyEntry, key);
        if (added < 0) WriteLog(msg::kOutOfMemoryEntry);
    };
    if (ReadRecordLines(file, nullptr, onLine, [](FILE*) { return true; }) < 0) return -1;
    int result = Validate();
    if (result < 0) return result;
    Apply();
    return 0;
}

int Executant::AddEntry(const char* key, const char* value) {
    const int number = kKeywords.Find(key);
    if (number < 0) return 0;
    return m_properties.Append(number, value) ? 1 : -1;
}

const char* Executant::KeyName(int key) const { return kKeywords.KeyName(key); }

TextString Executant::FileName() const {
    TextString name(m_properties.Value(kFileName));
    name.LowerAscii();
    return name;
}

int Executant::Validate() {
    // This record's lines have their own texts: no line end on the first.
    if (const char* missing = m_properties.MissingRequired()) {
        WriteLog(msg::kNotDefinedEntry, missing);
        return -10;
    }
    if (!m_properties.GiveDefaults()) {
        WriteLog(msg::kValidateOutOfMemory);
        return -1;
    }
    return 0;
}

void Executant::Apply() {
    positionSet = ApplyPair(m_properties, kPosition, &x, &y);
    sizeSet = ApplyPair(m_properties, kSize, &width, &height);

    prioritySet = false;
    if (m_properties.Has(kPriority)) {
        priority = static_cast<uint32_t>(ParseHexCapable(m_properties.Value(kPriority)));
        prioritySet = priority != 0;
    }
    inputTimeout = kDefaultInputTimeout;
    if (m_properties.Has(kInputTO)) inputTimeout = static_cast<uint32_t>(ParseDecimal(m_properties.Value(kInputTO)));
    shellExec = false;
    if (m_properties.Has(kShellExec)) shellExec = ParseDecimal(m_properties.Value(kShellExec)) > 0;
}

int Executant::Write(FILE* file, int depth, bool withHeader) {
    char text[32];
    PairUpdater pairs(m_properties);
    pairs.Text(kFileName, FileName().c_str(), true);
    FormatPair(text, positionSet, x, y);
    pairs.Text(kPosition, text, true);
    FormatPair(text, sizeSet, width, height);
    pairs.Text(kSize, text, true);
    text[0] = '\0';
    if (priority != 0) std::snprintf(text, sizeof(text), "0x%04X", static_cast<unsigned>(priority));
    pairs.Text(kPriority, text, true);
    if (inputTimeout != kDefaultInputTimeout)
        pairs.Number(kInputTO, static_cast<int32_t>(inputTimeout), true);
    else
        pairs.Text(kInputTO, "", true);
    pairs.Text(kShellExec, shellExec ? "1" : "", true);

    if (withHeader)
        WriteRecord(file, depth, kHeader, m_properties, [](FILE*, int) {});
    else
        WritePairs(file, m_properties, depth + 1);
    std::fflush(file);
    return 0;
}

}  // namespace qv
