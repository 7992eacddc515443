#pragma once
// Command lines of every program: words cut into (option, value) pairs.

#include "PropertyList.h"

namespace qv {

// Options in the order they were typed. The key keeps its leading '-' or
// '+'; an option typed without a value has the empty value.
class OptionList {
public:
    // Appends even when the option is there already. False when memory ran out.
    bool Add(const char* option, const char* value) { return m_list.Append(option, value) != nullptr; }
    // The first pair of that exact option ("-x" is not "-X"), or null.
    const PropertyPair* Find(const char* option) const { return m_list.Find(option); }
    bool Has(const char* option) const { return Find(option) != nullptr; }
    // The first pair's value, or the empty text when the option is absent.
    const char* Value(const char* option) const { return m_list.Value(option); }

    const PropertyPair* First() const { return m_list.First(); }
    int Count() const { return m_list.Count(); }
    void Clear() { m_list.Clear(); }

private:
    PropertyList m_list;
};

enum ParseResult {
    kParseOk = 0,
    kParseOpenQuote = -1,   // the text ended inside quotes or right after a backslash
    kParseStrayValue = -2,  // a value word with no option before it
    kParseNoMemory = -3,    // a pair could not be stored
};

// Appends the options of a command line to the list. The text is not
// changed; any length is accepted. A null text is the empty text.
int ParseCommandLine(OptionList& options, const char* text);

}  // namespace qv
