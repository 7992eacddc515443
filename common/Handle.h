#pragma once
// Owning wrappers for system handles: not copyable, movable, closed once.

#include <windows.h>

#include <utility>

namespace qv {

template <class Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : m_value(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : m_value(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~UniqueResource() { Reset(); }

    Type Get() const { return m_value; }
    bool Valid() const { return Traits::Valid(m_value); }
    explicit operator bool() const { return Valid(); }
    Type Release() { return std::exchange(m_value, Traits::Invalid()); }
    void Reset(Type value = Traits::Invalid()) {
        if (Traits::Valid(m_value)) Traits::Close(m_value);
        m_value = value;
    }

private:
    Type m_value = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    // Some functions fail with NULL, others with INVALID_HANDLE_VALUE: neither is ours to close.
    static bool Valid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};

struct DesktopHandleTraits {
    using Type = HDESK;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { CloseDesktop(h); }
};

struct LibraryHandleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};

struct RegistryKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};

// A view of a file mapping; the mapping itself is a kernel handle.
struct MappedViewTraits {
    using Type = void*;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type p) { return p != nullptr; }
    static void Close(Type p) { UnmapViewOfFile(p); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueMappedView = UniqueResource<MappedViewTraits>;
using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;
using UniqueDesktop = UniqueResource<DesktopHandleTraits>;
using UniqueLibrary = UniqueResource<LibraryHandleTraits>;

// GDI objects all end with DeleteObject, which fails on one still selected
// into a DC: select it out before the owner goes.
template <class Object>
struct GdiObjectTraits {
    using Type = Object;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};

using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;

struct MenuHandleTraits {
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { DestroyMenu(h); }
};
using UniqueMenu = UniqueResource<MenuHandleTraits>;

struct IconHandleTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { DestroyIcon(h); }
};
using UniqueIcon = UniqueResource<IconHandleTraits>;

struct HookHandleTraits {
    using Type = HHOOK;
    static Type Invalid() { return nullptr; }
    static bool Valid(Type h) { return h != nullptr; }
    static void Close(Type h) { UnhookWindowsHookEx(h); }
};
using UniqueHook = UniqueResource<HookHandleTraits>;

}  // namespace qv
