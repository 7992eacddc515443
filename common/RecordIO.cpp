#include "RecordIO.h"

namespace qv {

void StoreSetting(const KeywordTable& keywords, PropertyList& properties, const char* key, const char* value,
                  const char* unknownKeyFormat) {
    if (keywords.Find(key) < 0)
        WriteLog(unknownKeyFormat, key);
    else if (!properties.Append(key, value))
        WriteLog(msg::kOutOfMemory);
}

int CheckRequired(const KeywordTable& keywords, const PropertyList& properties) {
    if (const char* missing = keywords.MissingRequired(properties)) {
        WriteLog(msg::kNotDefined, missing);
        return -10;
    }
    return 0;
}

int AppendDefaults(const KeywordTable& keywords, PropertyList& properties) {
    if (keywords.AppendDefaults(properties)) return 0;
    WriteLog(msg::kOutOfMemory);
    return -1;
}

void PairUpdater::Text(int key, const char* text, bool append) {
    m_properties.Update(m_keywords.KeyName(key), text, append);
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

void WritePairs(FILE* file, const PropertyList& properties, int depth) {
    for (const PropertyPair* p = properties.First(); p; p = p->next) {
        if (p->value.IsEmpty()) continue;
        WriteIndent(file, depth);
        std::fprintf(file, "%s\t", p->key.c_str());
        std::fprintf(file, "%s\n", p->value.c_str());
    }
}

}  // namespace qv
