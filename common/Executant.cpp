#include "Executant.h"

#include <cstring>

#include "Convert.h"
#include "Log.h"
#include "Messages.h"
#include "RecordIO.h"

namespace qv {

namespace {

const KeywordRow kRows[] = {
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

const KeywordTable kKeywords(kRows);

// A pair of coordinates counts only when both scan and neither is unset.
bool ApplyPair(const PropertyPair* pair, int32_t* a, int32_t* b) {
    if (!pair || !ScanIntPair(pair->value.c_str(), a, b)) return false;
    return *a != Executant::kUnset && *b != Executant::kUnset;
}

void FormatPair(char (&text)[32], bool set, int32_t a, int32_t b) {
    text[0] = '\0';
    if (set && a != Executant::kUnset && b != Executant::kUnset) std::snprintf(text, sizeof(text), "%d,%d", a, b);
}

}  // namespace

const KeywordTable& Executant::Keywords() { return kKeywords; }

int Executant::Read(FILE* file) {
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
    if (kKeywords.Find(key) < 0) return 0;
    return m_properties.Append(key, value) ? 1 : -1;
}

const char* Executant::KeyName(int key) const { return kKeywords.KeyName(key); }

int Executant::Validate() {
    // This record's lines have their own texts: no line end on the first.
    if (const char* missing = kKeywords.MissingRequired(m_properties)) {
        WriteLog(msg::kNotDefinedEntry, missing);
        return -10;
    }
    if (!kKeywords.AppendDefaults(m_properties)) {
        WriteLog(msg::kValidateOutOfMemory);
        return -1;
    }
    return 0;
}

void Executant::Apply() {
    fileName.Assign(m_properties.Value(KeyName(kFileName)));
    fileName.LowerAscii();
    arguments.Assign(m_properties.Value(KeyName(kArguments)));

    positionSet = ApplyPair(m_properties.Find(KeyName(kPosition)), &x, &y);
    sizeSet = ApplyPair(m_properties.Find(KeyName(kSize)), &width, &height);

    prioritySet = false;
    if (const PropertyPair* pair = m_properties.Find(KeyName(kPriority))) {
        priority = static_cast<uint32_t>(ParseHexCapable(pair->value.c_str()));
        prioritySet = priority != 0;
    }
    inputTimeout = kDefaultInputTimeout;
    if (const PropertyPair* pair = m_properties.Find(KeyName(kInputTO)))
        inputTimeout = static_cast<uint32_t>(ParseDecimal(pair->value.c_str()));
    shellExec = false;
    if (const PropertyPair* pair = m_properties.Find(KeyName(kShellExec)))
        shellExec = ParseDecimal(pair->value.c_str()) > 0;
}

int Executant::Write(FILE* file, int depth, bool withHeader) {
    char text[32];
    PairUpdater pairs(kKeywords, m_properties);
    pairs.Text(kFileName, fileName.c_str(), true);
    pairs.Text(kArguments, arguments.c_str(), true);
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
