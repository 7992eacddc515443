#pragma once
// A page of memory placed in another process, for the control messages
// whose structures and texts must lie in the control's own process: a
// pointer of the test's means nothing there.

#include <windows.h>

#include <string>

#include "DaemonRequest.h"
#include "Handle.h"

namespace qvtest {

class RemoteBuffer {
public:
    static constexpr SIZE_T kSize = 4096;
    // Room for a text after a control structure at the start of the page.
    static constexpr int kTextMax = 256;

    explicit RemoteBuffer(DWORD pid)
        : m_process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)) {
        if (m_process)
            m_buffer = VirtualAllocEx(m_process.Get(), nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (m_buffer) VirtualFreeEx(m_process.Get(), m_buffer, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    // The page's address in the other process, as a message's lParam.
    LPARAM Address() const { return reinterpret_cast<LPARAM>(m_buffer); }
    // Where a text goes after a structure of this size at the page's start.
    char* TextAfter(SIZE_T structureSize) const { return static_cast<char*>(m_buffer) + structureSize; }

    // The value written at the page's start; false when it could not be.
    template <class T>
    bool Put(const T& value) const {
        SIZE_T written = 0;
        return m_buffer && WriteProcessMemory(m_process.Get(), m_buffer, &value, sizeof value, &written);
    }
    template <class T>
    bool Get(T* value) const {
        SIZE_T read = 0;
        return m_buffer && ReadProcessMemory(m_process.Get(), m_buffer, value, sizeof *value, &read);
    }
    // The text at a place of the page (from TextAfter), up to kTextMax bytes.
    std::string Text(const char* at) const {
        char text[kTextMax + 1] = "";
        SIZE_T read = 0;
        ReadProcessMemory(m_process.Get(), at, text, kTextMax, &read);
        return text;
    }

private:
    qv::UniqueHandle m_process;
    void* m_buffer = nullptr;
};

// A message to another process's control, bounded and confirmed as every
// send to another program is; -1 when not answered.
inline LRESULT SendToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const qv::RequestReply reply = qv::SendBounded(control, message, wParam, lParam, 5000);
    return reply.Answered() ? reply.value : -1;
}

}  // namespace qvtest
