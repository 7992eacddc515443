#include "TitleEscapes.h"

#include <cstring>
#include <memory>
#include <new>

#include "Sjis.h"

namespace qv {

namespace {

char ControlFor(char c) {
    switch (c) {
        case 'a': return '\a';
        case 'b': return '\b';
        case 'f': return '\f';
        case 'n': return '\n';
        case 'r': return '\r';
        case 't': return '\t';
        case 'v': return '\v';
        default: return '\0';
    }
}

}  // namespace

bool ResolveTitleEscapes(const char* title, TextString& out) {
    if (!title) title = "";
    // Every escape shortens the text, so the input's size is enough.
    size_t size = std::strlen(title) + 1;
    std::unique_ptr<char[]> buf(new (std::nothrow) char[size]);
    if (!buf) return false;

    char* q = buf.get();
    for (const char* p = title; *p; ++p) {
        if (*p == '\\') {
            if (!p[1]) break;
            ++p;
            if (char control = ControlFor(*p)) {
                *q++ = control;
                continue;
            }
        }
        *q++ = *p;
        // A trail byte is copied with its lead so that a 0x5C trail never
        // starts an escape; a lead byte at the very end is copied alone.
        if (IsSjisLead(static_cast<unsigned char>(*p)) && p[1]) *q++ = *++p;
    }
    return out.Assign(buf.get(), static_cast<size_t>(q - buf.get()));
}

}  // namespace qv
