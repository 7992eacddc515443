#include "RecordIO.h"

namespace qv {

void StoreSetting(KeywordPairs& properties, const char* key, const char* value, const char* unknownKeyFormat) {
    const int number = properties.Keywords().Find(key);
    if (number < 0)
        WriteLog(unknownKeyFormat, key);
    else if (!properties.Append(number, value))
        WriteLog(msg::kOutOfMemory);
}

int CheckRequired(const KeywordPairs& properties) {
    if (const char* missing = properties.MissingRequired()) {
        WriteLog(msg::kNotDefined, missing);
        return -10;
    }
    return 0;
}

int GiveDefaults(KeywordPairs& properties) {
    if (properties.GiveDefaults()) return 0;
    WriteLog(msg::kOutOfMemory);
    return -1;
}

void PairUpdater::Text(int key, const char* text, bool append) {
    m_properties.Update(key, text, append);
}

void PairUpdater::Hex(int key, uint32_t value, bool append) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(value));
    Text(key, text, append);
}

void PairUpdater::HotKey(int key, uint32_t word) {
    if (word != 0)
        Hex(key, word, true);
    else
        Text(key, "", false);
}

void PairUpdater::Number(int key, int32_t value, bool append) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(value));
    Text(key, text, append);
}

void WriteIndent(FILE* file, int depth) {
    for (int i = 0; i < depth; ++i) std::fputc('\t', file);
}

void WritePairs(FILE* file, const KeywordPairs& properties, int depth) {
    properties.ForEach([file, depth](const char* key, const char* value) {
        if (!*value) return;
        WriteIndent(file, depth);
        std::fprintf(file, "%s\t", key);
        std::fprintf(file, "%s\n", value);
    });
}

}  // namespace qv
