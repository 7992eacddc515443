#include "FileTurn.h"

#include <cstdio>

namespace qv {

FileTurn::FileTurn(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) return;
    char name[64];
    std::snprintf(name, sizeof name, "Local\\Quorvel.FileTurn.%08lX.%08lX%08lX",
                  static_cast<unsigned long>(info.dwVolumeSerialNumber), static_cast<unsigned long>(info.nFileIndexHigh),
                  static_cast<unsigned long>(info.nFileIndexLow));
    // A new section is zero-filled: the turn starts free.
    m_section.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), name));
    if (m_section) m_view.Reset(MapViewOfFile(m_section.Get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
}

void FileTurn::Take() {
    volatile LONG* word = Word();
    if (!word) return;
    // Thread ids are never 0 and unique among running threads, so a holder
    // in this process and one in another are told apart.
    const LONG me = static_cast<LONG>(GetCurrentThreadId());
    const ULONGLONG start = GetTickCount64();
    for (unsigned tries = 0; InterlockedCompareExchange(word, me, 0) != 0; ++tries) {
        if (GetTickCount64() - start > kWaitMs) {
            // A line that may cross a stalled writer's beats a log stalled for good.
            InterlockedExchange(word, me);
            return;
        }
        Sleep(tries < 64 ? 0 : 1);
    }
}

void FileTurn::Give() {
    volatile LONG* word = Word();
    // Only our own: a turn taken from us in the meantime stays with its taker.
    if (word) InterlockedCompareExchange(word, 0, static_cast<LONG>(GetCurrentThreadId()));
}

}  // namespace qv
