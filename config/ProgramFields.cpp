#include "ProgramFields.h"

#include <cstdio>

#include "Convert.h"

namespace qv::config {

namespace {

std::string Value(const Executant& entry, const char* key) {
    const char* value = entry.Properties().Value(key);
    return value ? value : "";
}

void Set(Executant& entry, const char* key, const std::string& value) {
    entry.Properties().Update(key, value.c_str(), true);
}

std::string Pair(bool set, int32_t a, int32_t b) {
    char text[40];
    if (set)
        std::snprintf(text, sizeof text, "%d,%d", a, b);
    else
        std::snprintf(text, sizeof text, "0x80000000,0x80000000");
    return text;
}

}  // namespace

ProgramFields ReadFields(const Executant& entry) {
    ProgramFields fields;
    fields.file = Value(entry, "ExecutionFileName");
    fields.path = Value(entry, "ExecutionPath");
    fields.arguments = Value(entry, "ExecutionArguments");
    fields.shell = entry.shellExec;
    const int show = ParseDecimal(Value(entry, "ExecutionShowMode").c_str());
    fields.showMode = show >= 1 && show <= 3 ? show : 1;
    fields.positionSet = entry.positionSet;
    fields.x = entry.positionSet ? entry.x : 0;
    fields.y = entry.positionSet ? entry.y : 0;
    fields.sizeSet = entry.sizeSet;
    fields.width = entry.sizeSet ? entry.width : 0;
    fields.height = entry.sizeSet ? entry.height : 0;
    fields.prioritySet = entry.prioritySet;
    const int priorityClass = static_cast<int>((entry.priority >> 4) & 0xF);
    const int thread = static_cast<int>(entry.priority & 0xF);
    fields.priorityClass = entry.prioritySet && priorityClass <= 3 ? priorityClass : 0;
    fields.thread = entry.prioritySet && thread <= 5 ? thread : 0;
    fields.once = ParseDecimal(Value(entry, "ExecutionInitialOnce").c_str()) != 0;
    fields.noIme = ParseDecimal(Value(entry, "ExecutionDisableIME").c_str()) != 0;
    fields.inputTimeout = entry.inputTimeout;
    return fields;
}

void WriteFields(const ProgramFields& fields, Executant& entry) {
    Set(entry, "ExecutionFileName", fields.file);
    Set(entry, "ExecutionPath", fields.path);
    Set(entry, "ExecutionArguments", fields.arguments);
    Set(entry, "ExecutionShellExec", fields.shell ? "1" : "");
    Set(entry, "ExecutionShowMode", std::to_string(fields.showMode));
    Set(entry, "ExecutionPosition", Pair(fields.positionSet, fields.x, fields.y));
    Set(entry, "ExecutionSize", Pair(fields.sizeSet, fields.width, fields.height));
    std::string priority;
    if (fields.prioritySet) {
        // A shell entry's program is the shell's to start: no thread of its own.
        const int thread = fields.shell ? 0 : fields.thread;
        char text[16];
        std::snprintf(text, sizeof text, "0x%02X", (fields.priorityClass << 4) | thread);
        priority = text;
    }
    Set(entry, "ExecutionPriority", priority);
    // Neither rule applies to what the shell starts.
    Set(entry, "ExecutionInitialOnce", fields.once && !fields.shell ? "1" : "");
    Set(entry, "ExecutionDisableIME", fields.noIme && !fields.shell ? "1" : "");
    Set(entry, "ExecutionInputTO", std::to_string(fields.inputTimeout));
    entry.Apply();
}

bool IsProgramFile(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find_first_of("\\/", dot) != std::string::npos) return false;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const char* program : {"exe", "com", "bat", "cmd", "pif"})
        if (extension == program) return true;
    return false;
}

bool FieldsComplete(const ProgramFields& fields) { return fields.shell || fields.file.size() > 4; }

}  // namespace qv::config
