#pragma once
// Move-only owners of the GDI and USER handles the toolkit makes. Each owned kind is counted
// while it lives, so leak tests can check that everything made was released (Wine's
// GetGuiResources reports nothing useful).
#include <windows.h>

#include <utility>

#include "toolkit/geometry.h"

namespace zam {

// Handles currently owned through these wrappers, by kind.
struct GdiCounts {
    int objects = 0;    // pens, brushes, fonts, bitmaps, regions
    int memoryDcs = 0;  // CreateCompatibleDC
    int windowDcs = 0;  // GetDC
    int icons = 0;      // DestroyIcon
};
GdiCounts LiveGdiCounts();

namespace detail {
void CountGdiObject(int delta);
void CountMemoryDc(int delta);
void CountWindowDc(int delta);
void CountIcon(int delta);
}  // namespace detail

// Owns a pen, brush, font, bitmap or region: DeleteObject at the end.
template <class H>
class GdiObject {
public:
    GdiObject() = default;
    // Takes ownership; null is accepted and owns nothing.
    explicit GdiObject(H handle) : handle_(handle) {
        if (handle_)
            detail::CountGdiObject(1);
    }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.handle_, nullptr), false);
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { Reset(); }

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Deletes the owned handle and takes the new one.
    void Reset(H handle = nullptr) { Reset(handle, true); }
    // Gives up ownership without deleting.
    H Release() {
        if (handle_)
            detail::CountGdiObject(-1);
        return std::exchange(handle_, nullptr);
    }

private:
    void Reset(H handle, bool countNew) {
        if (handle == handle_)
            return;
        if (handle_) {
            DeleteObject(handle_);
            detail::CountGdiObject(-1);
        }
        handle_ = handle;
        if (handle_ && countNew)
            detail::CountGdiObject(1);
    }

    H handle_ = nullptr;
};

using OwnedGdiObject = GdiObject<HGDIOBJ>;
using OwnedPen = GdiObject<HPEN>;
using OwnedBrush = GdiObject<HBRUSH>;
using OwnedFont = GdiObject<HFONT>;
using OwnedBitmap = GdiObject<HBITMAP>;
using OwnedRegion = GdiObject<HRGN>;

// GetDC of a window (null: the screen), ReleaseDC at the end.
class WindowDC {
public:
    explicit WindowDC(HWND window);
    WindowDC(WindowDC&& other) noexcept;
    WindowDC& operator=(WindowDC&& other) noexcept;
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { Reset(); }

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset();

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// CreateCompatibleDC (null: compatible with the screen), DeleteDC at the end. Default
// construction makes no context, so a member or a slot to fill later costs nothing.
class MemoryDC {
public:
    MemoryDC() = default;
    explicit MemoryDC(HDC compatibleWith);
    MemoryDC(MemoryDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    MemoryDC& operator=(MemoryDC&& other) noexcept;
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() { Reset(); }

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset();

private:
    HDC dc_ = nullptr;
};

// Selects an object into a context and puts the previous one back at the end, so the object
// can be deleted afterwards. A null context or object selects nothing, and so does a region:
// selecting one only copies it into the clip region, with nothing to put back.
class SelectGuard {
public:
    SelectGuard() = default;
    SelectGuard(HDC dc, HGDIOBJ object);
    SelectGuard(SelectGuard&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)),
          previous_(std::exchange(other.previous_, nullptr)) {}
    SelectGuard& operator=(SelectGuard&& other) noexcept;
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { Restore(); }

    // Whether the selection took place.
    explicit operator bool() const { return previous_ != nullptr; }
    void Restore();

private:
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// Owns an icon or cursor made by CreateIconIndirect, CopyIcon, CopyImage or LoadImage without
// LR_SHARED: DestroyIcon at the end.
class OwnedIcon {
public:
    OwnedIcon() = default;
    explicit OwnedIcon(HICON icon) : icon_(icon) {
        if (icon_)
            detail::CountIcon(1);
    }
    OwnedIcon(OwnedIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    OwnedIcon& operator=(OwnedIcon&& other) noexcept;
    OwnedIcon(const OwnedIcon&) = delete;
    OwnedIcon& operator=(const OwnedIcon&) = delete;
    ~OwnedIcon() { Reset(); }

    HICON Get() const { return icon_; }
    explicit operator bool() const { return icon_ != nullptr; }
    void Reset(HICON icon = nullptr);
    HICON Release();

private:
    HICON icon_ = nullptr;
};

// Narrows a context's clipping to a rectangle for its lifetime and then puts the previous
// clipping back. Not SaveDC: RestoreDC would also swap a canvas's selected tools behind its back.
class ClipScope {
public:
    ClipScope(HDC dc, const Rect& rect);
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;
    ~ClipScope();

private:
    HDC dc_;
    GdiObject<HRGN> saved_;
    bool hadClip_ = false;
};

// The system's shared cursors (never destroyed). Named here because the IDC_ macros are narrow
// strings in this build.
enum class SystemCursor { Arrow = 32512, Wait = 32514, Hand = 32649 };
HCURSOR LoadSystemCursor(SystemCursor cursor);

}  // namespace zam
