#include "toolkit/gdi.h"

namespace zam {
namespace {

GdiCounts counts;

}  // namespace

GdiCounts LiveGdiCounts() {
    return counts;
}

namespace detail {
void CountGdiObject(int delta) {
    counts.objects += delta;
}
void CountMemoryDc(int delta) {
    counts.memoryDcs += delta;
}
void CountWindowDc(int delta) {
    counts.windowDcs += delta;
}
void CountIcon(int delta) {
    counts.icons += delta;
}
}  // namespace detail

WindowDC::WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {
    if (dc_)
        detail::CountWindowDc(1);
}

WindowDC::WindowDC(WindowDC&& other) noexcept
    : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}

WindowDC& WindowDC::operator=(WindowDC&& other) noexcept {
    if (this != &other) {
        Reset();
        window_ = std::exchange(other.window_, nullptr);
        dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
}

void WindowDC::Reset() {
    if (dc_) {
        ReleaseDC(window_, dc_);
        detail::CountWindowDc(-1);
    }
    dc_ = nullptr;
    window_ = nullptr;
}

MemoryDC::MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {
    if (dc_)
        detail::CountMemoryDc(1);
}

MemoryDC& MemoryDC::operator=(MemoryDC&& other) noexcept {
    if (this != &other) {
        Reset();
        dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
}

void MemoryDC::Reset() {
    if (dc_) {
        DeleteDC(dc_);
        detail::CountMemoryDc(-1);
    }
    dc_ = nullptr;
}

SelectGuard::SelectGuard(HDC dc, HGDIOBJ object) {
    if (!dc || !object || GetObjectType(object) == OBJ_REGION)
        return;
    HGDIOBJ previous = SelectObject(dc, object);
    if (previous && previous != HGDI_ERROR) {
        dc_ = dc;
        previous_ = previous;
    }
}

SelectGuard& SelectGuard::operator=(SelectGuard&& other) noexcept {
    if (this != &other) {
        Restore();
        dc_ = std::exchange(other.dc_, nullptr);
        previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
}

void SelectGuard::Restore() {
    if (dc_ && previous_)
        SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
}

OwnedIcon& OwnedIcon::operator=(OwnedIcon&& other) noexcept {
    if (this != &other) {
        Reset();
        icon_ = std::exchange(other.icon_, nullptr);
    }
    return *this;
}

void OwnedIcon::Reset(HICON icon) {
    if (icon == icon_)
        return;
    if (icon_) {
        DestroyIcon(icon_);
        detail::CountIcon(-1);
    }
    icon_ = icon;
    if (icon_)
        detail::CountIcon(1);
}

HICON OwnedIcon::Release() {
    if (icon_)
        detail::CountIcon(-1);
    return std::exchange(icon_, nullptr);
}

ClipScope::ClipScope(HDC dc, const Rect& rect) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)) {
    if (!dc_) {
        return;
    }
    hadClip_ = saved_ && GetClipRgn(dc_, saved_.Get()) == 1;
    IntersectClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

ClipScope::~ClipScope() {
    if (dc_) {
        SelectClipRgn(dc_, hadClip_ ? saved_.Get() : nullptr);
    }
}

HCURSOR LoadSystemCursor(SystemCursor cursor) {
    return LoadCursorW(nullptr, MAKEINTRESOURCEW(static_cast<int>(cursor)));
}

}  // namespace zam
