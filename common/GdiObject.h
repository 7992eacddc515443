#pragma once
// Owning wrappers for GDI objects of any kind and for device contexts.

#include <windows.h>

#include "Handle.h"

namespace qv {

template <class T>
using UniqueGdi = UniqueResource<GdiObjectTraits<T>>;

// A window's DC, released at the end of the scope.
class WindowDC {
public:
    explicit WindowDC(HWND window) : m_hWindow(window), m_hDC(GetDC(window)) {}
    ~WindowDC() {
        if (m_hDC) ReleaseDC(m_hWindow, m_hDC);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HWND m_hWindow;
    HDC m_hDC;
};

// A memory DC, deleted at the end of the scope.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatible) : m_hDC(CreateCompatibleDC(compatible)) {}
    ~MemoryDC() {
        if (m_hDC) DeleteDC(m_hDC);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

// Selects an object into a DC and puts the old one back at the end.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : m_hDC(dc), m_hOld(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (m_hOld) SelectObject(m_hDC, m_hOld);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

}  // namespace qv
