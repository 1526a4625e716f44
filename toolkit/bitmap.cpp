#include "toolkit/bitmap.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "toolkit/assert.h"
#include "toolkit/color.h"
#include "toolkit/graphic_tool.h"
#include "toolkit/wide_text.h"

namespace zam {
namespace {

int liveBitmaps = 0;

constexpr size_t kHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr size_t kMaskBytes = 3 * sizeof(DWORD);
constexpr size_t kInfoSize = kHeaderSize + kMaskBytes + 256 * sizeof(RGBQUAD);
// Larger pictures are refused rather than risk a failed allocation.
constexpr uint64_t kMaxRowsSize = uint64_t{1} << 30;

uint64_t RowStride(uint32_t bitsPerPixel, uint32_t width) {
    return (uint64_t{bitsPerPixel} * width + 31) / 32 * 4;
}

std::vector<uint8_t> Info32(int32_t width, int32_t height) {
    std::vector<uint8_t> info(kInfoSize, 0);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    header->biSize = kHeaderSize;
    header->biWidth = width;
    header->biHeight = height;  // bottom-up, as GDI keeps its rows
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    return info;
}

int32_t Extend(int32_t origin, int32_t size) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{origin} + size, INT32_MIN, INT32_MAX));
}

int32_t Extent(int32_t from, int32_t to) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{to} - from, INT32_MIN, INT32_MAX));
}

std::string SystemErrorText(DWORD error) {
    wchar_t buffer[512] = {};
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring text(buffer, std::min<size_t>(length, std::size(buffer)));
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    return Narrow(text);
}

// Stretching replaces pixels instead of blending them, so colours (and the transparent
// colour in particular) survive exactly.
class StretchModeScope {
public:
    explicit StretchModeScope(HDC dc) : dc_(dc), previous_(SetStretchBltMode(dc, COLORONCOLOR)) {}
    ~StretchModeScope() {
        if (previous_)
            SetStretchBltMode(dc_, previous_);
    }
    StretchModeScope(const StretchModeScope&) = delete;
    StretchModeScope& operator=(const StretchModeScope&) = delete;

private:
    HDC dc_;
    int previous_;
};

}  // namespace

int LiveBitmaps() {
    return liveBitmaps;
}

Bitmap::Bitmap() {
    ++liveBitmaps;
}

Bitmap::~Bitmap() {
    --liveBitmaps;
}

Bitmap* NewBitmap(int32_t width, int32_t height) {
    Bitmap* bitmap = NewObject<Bitmap>();
    bitmap->SetWidth(width);
    bitmap->SetHeight(height);
    return bitmap;
}

void Bitmap::ReleaseOwned() {
    // The canvas hands its context back (through ReleaseCanvasDC) before the bitmap goes.
    zam::Canvas* canvas = std::exchange(canvas_, nullptr);
    Free(canvas);
    Clear();
}

void Bitmap::Changed() {
    ++generation_;
    OnChange(this);
}

void Bitmap::DetachCanvas() {
    if (canvas_)
        canvas_->Release();
}

void Bitmap::Clear() {
    DetachCanvas();
    mask_.Reset();
    maskedPicture_.Reset();
    rows_ = nullptr;
    rowsSize_ = 0;
    handle_.Reset();
    std::vector<uint8_t>().swap(ownRows_);
    info_.clear();
    width_ = 0;
    height_ = 0;
    ++generation_;
}

const BITMAPINFO* Bitmap::Info() const {
    if (type_ != BitmapHandleType::DeviceIndependent || info_.empty())
        return nullptr;
    return reinterpret_cast<const BITMAPINFO*>(info_.data());
}

uint8_t* Bitmap::Rows() {
    if (type_ != BitmapHandleType::DeviceIndependent || !rows_)
        return nullptr;
    GdiFlush();  // a DIB section's memory is current only once GDI has finished drawing
    ++generation_;
    return rows_;
}

HBITMAP Bitmap::EnsureHandle() {
    if (Empty())
        return nullptr;
    if (handle_)
        return handle_.Get();
    if (type_ != BitmapHandleType::DeviceIndependent || !rows_)
        return nullptr;
    void* bits = nullptr;
    WindowDC screen(nullptr);
    SetLastError(0);
    HBITMAP section = CreateDIBSection(screen.Get(), Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section || !bits) {
        const DWORD error = GetLastError();
        if (section)
            DeleteObject(section);
        const std::string message = "Can not create DIB section, error: " + std::to_string(error) +
                                    ", " + SystemErrorText(error);
        AssertFailed(message.c_str(), __FILE__, __LINE__);
        return nullptr;
    }
    handle_.Reset(section);
    std::memcpy(bits, rows_, rowsSize_);
    // From now on the rows are the section's memory.
    std::vector<uint8_t>().swap(ownRows_);
    rows_ = static_cast<uint8_t*>(bits);
    return section;
}

HBITMAP Bitmap::Handle() {
    HBITMAP handle = EnsureHandle();
    if (handle)
        ++generation_;
    return handle;
}

HDC Bitmap::PictureDC(MemoryDC& temp, SelectGuard& selected) {
    if (canvasDc_)
        return canvasDc_.Get();
    HBITMAP handle = EnsureHandle();
    if (!handle)
        return nullptr;
    temp = MemoryDC(nullptr);
    if (!temp)
        return nullptr;
    selected = SelectGuard(temp.Get(), handle);
    return selected ? temp.Get() : nullptr;
}

void Bitmap::SetBitmapHandle(HBITMAP bitmap) {
    if (bitmap && bitmap == handle_.Get())
        return;
    Clear();
    type_ = BitmapHandleType::DeviceDependent;
    BITMAP info{};
    if (bitmap && GetObjectW(bitmap, sizeof info, &info) > 0 && info.bmWidth > 0 &&
        info.bmHeight != 0) {
        handle_.Reset(bitmap);
        width_ = info.bmWidth;
        height_ = std::abs(info.bmHeight);
    }
    Changed();
}

HBITMAP Bitmap::ReleaseHandle() {
    if (!EnsureHandle())
        return nullptr;
    DetachCanvas();
    rows_ = nullptr;  // a section's memory leaves with it
    rowsSize_ = 0;
    HBITMAP handle = handle_.Release();
    Clear();
    Changed();
    return handle;
}

void Bitmap::SetBackgroundColor(COLORREF color) {
    if (color == background_)
        return;
    background_ = color;
    if (canvas_ && canvas_->HasBrush())
        canvas_->Brush()->SetColor(color);
}

bool Bitmap::ConvertTo(BitmapHandleType type) {
    if (type == type_)
        return true;
    if (Empty()) {
        // Nothing to convert; the size (one side of it may be set) stays.
        const int32_t width = width_;
        const int32_t height = height_;
        Clear();
        width_ = width;
        height_ = height;
        type_ = type;
        return true;
    }
    DetachCanvas();
    WindowDC screen(nullptr);
    if (type == BitmapHandleType::DeviceIndependent) {
        if (!handle_)
            return false;
        std::vector<uint8_t> info = Info32(width_, height_);
        const size_t size = static_cast<size_t>(RowStride(32, width_) * height_);
        std::vector<uint8_t> rows(size);
        // GetDIBits wants the bitmap selected nowhere; DetachCanvas saw to that.
        if (GetDIBits(screen.Get(), handle_.Get(), 0, static_cast<UINT>(height_), rows.data(),
                      reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) != height_) {
            return false;
        }
        handle_.Reset();
        info_ = std::move(info);
        ownRows_ = std::move(rows);
        rows_ = ownRows_.data();
        rowsSize_ = size;
    } else {
        OwnedBitmap converted(CreateCompatibleBitmap(screen.Get(), width_, height_));
        if (!converted || !rows_)
            return false;
        GdiFlush();
        if (SetDIBits(screen.Get(), converted.Get(), 0, static_cast<UINT>(height_), rows_, Info(),
                      DIB_RGB_COLORS) == 0) {
            return false;
        }
        rows_ = nullptr;
        rowsSize_ = 0;
        std::vector<uint8_t>().swap(ownRows_);
        info_.clear();
        handle_ = std::move(converted);  // deletes a DIB section, and its memory, if there was one
    }
    mask_.Reset();
    maskedPicture_.Reset();
    type_ = type;
    return true;
}

void Bitmap::SetHandleType(BitmapHandleType type) {
    if (type == type_)
        return;
    if (ConvertTo(type))
        Changed();
}

bool Bitmap::ResizeDeviceDependent(int32_t width, int32_t height) {
    DetachCanvas();
    WindowDC screen(nullptr);
    OwnedBitmap resized(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!resized)
        return false;
    {
        MemoryDC target(nullptr);
        SelectGuard targetSelection(target.Get(), resized.Get());
        if (!targetSelection)
            return false;
        OwnedBrush fill(CreateSolidBrush(ColorToRGB(background_)));
        const RECT all{0, 0, width, height};
        ::FillRect(target.Get(), &all, fill.Get());
        if (handle_) {
            MemoryDC source(nullptr);
            SelectGuard sourceSelection(source.Get(), handle_.Get());
            if (sourceSelection) {
                BitBlt(target.Get(), 0, 0, std::min(width, width_), std::min(height, height_),
                       source.Get(), 0, 0, SRCCOPY);
            }
        }
    }
    mask_.Reset();
    maskedPicture_.Reset();
    handle_ = std::move(resized);
    width_ = width;
    height_ = height;
    return true;
}

void Bitmap::Resize(int32_t width, int32_t height) {
    if (width < 0 || height < 0 || (width == width_ && height == height_))
        return;
    if (width == 0 || height == 0) {
        Clear();
        width_ = width;
        height_ = height;
        Changed();
        return;
    }
    // Pixel rows are resized as a device-dependent bitmap and turned back into rows.
    const BitmapHandleType type = type_;
    if (!ConvertTo(BitmapHandleType::DeviceDependent))
        return;
    const bool resized = ResizeDeviceDependent(width, height);
    ConvertTo(type);
    if (resized)
        Changed();
}

void Bitmap::SetWidth(int32_t width) {
    Resize(width, height_);
}

void Bitmap::SetHeight(int32_t height) {
    Resize(width_, height);
}

bool Bitmap::SetDIB(const BITMAPINFO* info, size_t infoSize, const void* bits, size_t bitsSize) {
    if (!info || !bits || infoSize < kHeaderSize)
        return false;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < kHeaderSize || header.biSize > infoSize)
        return false;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT32_MIN ||
        header.biPlanes != 1) {
        return false;
    }
    const uint32_t depth = header.biBitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) {
        return false;
    }
    const bool bottomUp = header.biHeight > 0;
    const DWORD compression = header.biCompression;
    const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    if (!(compression == BI_RGB || (compression == BI_BITFIELDS && (depth == 16 || depth == 32)) ||
          (compression == BI_RLE8 && depth == 8 && bottomUp) ||
          (compression == BI_RLE4 && depth == 4 && bottomUp))) {
        return false;
    }
    // Bit fields sit right after a 40-byte header, and inside a later one at the same place.
    const size_t masks = compression == BI_BITFIELDS ? kMaskBytes : 0;
    const size_t masksAfterHeader = header.biSize == kHeaderSize ? masks : 0;
    size_t colors = header.biClrUsed;
    if (colors == 0 && depth <= 8)
        colors = size_t{1} << depth;
    if (colors > 256)
        return false;
    const size_t tableOffset = header.biSize + masksAfterHeader;
    if (tableOffset + colors * sizeof(RGBQUAD) > infoSize || kHeaderSize + masks > infoSize) {
        return false;
    }
    const uint64_t height = static_cast<uint64_t>(std::abs(header.biHeight));
    const uint64_t size =
        rle ? bitsSize : RowStride(depth, static_cast<uint32_t>(header.biWidth)) * height;
    if (size == 0 || size > bitsSize || size > kMaxRowsSize)
        return false;

    std::vector<uint8_t> copy(kInfoSize, 0);
    const auto* source = reinterpret_cast<const uint8_t*>(info);
    std::memcpy(copy.data(), source, kHeaderSize);
    std::memcpy(copy.data() + kHeaderSize, source + kHeaderSize, masks);
    std::memcpy(copy.data() + kHeaderSize + masks, source + tableOffset, colors * sizeof(RGBQUAD));
    auto* copied = reinterpret_cast<BITMAPINFOHEADER*>(copy.data());
    copied->biSize = kHeaderSize;
    copied->biClrUsed = static_cast<DWORD>(colors);
    if (rle)
        copied->biSizeImage = static_cast<DWORD>(size);

    Clear();
    info_ = std::move(copy);
    const auto* pixels = static_cast<const uint8_t*>(bits);
    ownRows_.assign(pixels, pixels + size);
    rows_ = ownRows_.data();
    rowsSize_ = static_cast<size_t>(size);
    width_ = header.biWidth;
    height_ = static_cast<int32_t>(height);
    type_ = BitmapHandleType::DeviceIndependent;
    Changed();
    return true;
}

void Bitmap::Assign(Bitmap* source) {
    if (source == this)
        return;
    Clear();
    if (source && !source->Empty()) {
        if (source->type_ == BitmapHandleType::DeviceIndependent && source->rows_) {
            GdiFlush();
            info_ = source->info_;
            ownRows_.assign(source->rows_, source->rows_ + source->rowsSize_);
            rows_ = ownRows_.data();
            rowsSize_ = source->rowsSize_;
            width_ = source->width_;
            height_ = source->height_;
            type_ = BitmapHandleType::DeviceIndependent;
        } else {
            // Copied through a blit rather than CopyImage: the source may be selected in its
            // canvas's context, where CopyImage cannot read it.
            MemoryDC temp;
            SelectGuard selected;
            HDC from = source->PictureDC(temp, selected);
            WindowDC screen(nullptr);
            OwnedBitmap copy(
                from ? CreateCompatibleBitmap(screen.Get(), source->width_, source->height_)
                     : nullptr);
            MemoryDC target(nullptr);
            SelectGuard targetSelection(target.Get(), copy.Get());
            if (targetSelection) {
                BitBlt(target.Get(), 0, 0, source->width_, source->height_, from, 0, 0, SRCCOPY);
                targetSelection.Restore();
                handle_ = std::move(copy);
                width_ = source->width_;
                height_ = source->height_;
                type_ = BitmapHandleType::DeviceDependent;
            }
        }
    }
    Changed();
}

zam::Canvas* Bitmap::GetCanvas() {
    if (Empty())
        return nullptr;
    if (!canvas_)
        canvas_ = NewCanvas(this);
    return canvas_;
}

HDC Bitmap::AcquireCanvasDC(bool& release) {
    release = true;
    if (canvasDc_)
        return canvasDc_.Get();
    HBITMAP handle = EnsureHandle();
    if (!handle)
        return nullptr;
    MemoryDC dc(nullptr);
    SelectGuard selection(dc.Get(), handle);
    if (!selection)
        return nullptr;
    canvasDc_ = std::move(dc);
    canvasSelection_ = std::move(selection);
    ++generation_;
    return canvasDc_.Get();
}

void Bitmap::ReleaseCanvasDC(HDC dc) {
    if (!dc || dc != canvasDc_.Get())
        return;
    canvasSelection_.Restore();
    canvasDc_.Reset();
    ++generation_;  // whatever the canvas drew invalidates the mask
}

COLORREF Bitmap::OwnerTextColor() {
    return kDefaultFontColor;
}

void Bitmap::Draw(HDC dc, int32_t x, int32_t y) {
    if (Empty() || !dc)
        return;
    if (!handle_ && type_ == BitmapHandleType::DeviceIndependent) {
        if (rows_) {
            StretchDIBits(dc, x, y, width_, height_, 0, 0, width_, height_, rows_, Info(),
                          DIB_RGB_COLORS, SRCCOPY);
        }
        return;
    }
    MemoryDC temp;
    SelectGuard selected;
    if (HDC from = PictureDC(temp, selected)) {
        BitBlt(dc, x, y, width_, height_, from, 0, 0, SRCCOPY);
    }
}

void Bitmap::StretchDraw(HDC dc, const Rect& rect) {
    if (Empty() || !dc)
        return;
    const int32_t width = Extent(rect.left, rect.right);
    const int32_t height = Extent(rect.top, rect.bottom);
    StretchModeScope mode(dc);
    if (!handle_ && type_ == BitmapHandleType::DeviceIndependent && rows_) {
        if (StretchDIBits(dc, rect.left, rect.top, width, height, 0, 0, width_, height_, rows_,
                          Info(), DIB_RGB_COLORS, SRCCOPY) > 0) {
            return;
        }
        // Some devices cannot take the rows directly; a DIB section (made below) can.
    }
    MemoryDC temp;
    SelectGuard selected;
    if (HDC from = PictureDC(temp, selected)) {
        StretchBlt(dc, rect.left, rect.top, width, height, from, 0, 0, width_, height_, SRCCOPY);
    }
}

void Bitmap::DrawTransparent(HDC dc, int32_t x, int32_t y, COLORREF transparent) {
    if (transparent == kNoColor) {
        Draw(dc, x, y);
        return;
    }
    StretchDrawTransparent(dc, Rect{x, y, Extend(x, width_), Extend(y, height_)}, transparent);
}

bool Bitmap::BuildMask(COLORREF color) {
    mask_.Reset();
    maskedPicture_.Reset();
    MemoryDC temp;
    SelectGuard selected;
    HDC from = PictureDC(temp, selected);
    if (!from)
        return false;
    WindowDC screen(nullptr);
    OwnedBitmap mask(CreateBitmap(width_, height_, 1, 1, nullptr));
    OwnedBitmap picture(CreateCompatibleBitmap(screen.Get(), width_, height_));
    MemoryDC maskDc(nullptr);
    MemoryDC pictureDc(nullptr);
    SelectGuard maskSelection(maskDc.Get(), mask.Get());
    SelectGuard pictureSelection(pictureDc.Get(), picture.Get());
    if (!maskSelection || !pictureSelection)
        return false;

    // Colour to monochrome: pixels of the source's background colour become white.
    const COLORREF previousBk = SetBkColor(from, color);
    BitBlt(maskDc.Get(), 0, 0, width_, height_, from, 0, 0, SRCCOPY);
    SetBkColor(from, previousBk);
    // The picture with the transparent pixels black: monochrome to colour maps white to the
    // background (black) and black to the text colour (white), and AND keeps the rest.
    BitBlt(pictureDc.Get(), 0, 0, width_, height_, from, 0, 0, SRCCOPY);
    SetBkColor(pictureDc.Get(), RGB(0, 0, 0));
    SetTextColor(pictureDc.Get(), RGB(255, 255, 255));
    BitBlt(pictureDc.Get(), 0, 0, width_, height_, maskDc.Get(), 0, 0, SRCAND);

    maskSelection.Restore();
    pictureSelection.Restore();
    mask_ = std::move(mask);
    maskedPicture_ = std::move(picture);
    maskColor_ = color;
    maskGeneration_ = generation_;
    return true;
}

void Bitmap::StretchDrawTransparent(HDC dc, const Rect& rect, COLORREF transparent) {
    if (transparent == kNoColor) {
        StretchDraw(dc, rect);
        return;
    }
    if (Empty() || !dc)
        return;
    const COLORREF color = ColorToRGB(transparent);
    // While the canvas holds its context, the picture may have changed since the mask was made.
    const bool cached =
        mask_ && maskColor_ == color && maskGeneration_ == generation_ && !canvasDc_;
    if (!cached && !BuildMask(color))
        return;

    MemoryDC maskDc(nullptr);
    MemoryDC pictureDc(nullptr);
    SelectGuard maskSelection(maskDc.Get(), mask_.Get());
    SelectGuard pictureSelection(pictureDc.Get(), maskedPicture_.Get());
    if (!maskSelection || !pictureSelection)
        return;
    const int32_t width = Extent(rect.left, rect.right);
    const int32_t height = Extent(rect.top, rect.bottom);
    // AND with the mask (white keeps, black clears), then XOR in the masked picture.
    const COLORREF previousText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF previousBk = SetBkColor(dc, RGB(255, 255, 255));
    {
        StretchModeScope mode(dc);
        StretchBlt(dc, rect.left, rect.top, width, height, maskDc.Get(), 0, 0, width_, height_,
                   SRCAND);
        StretchBlt(dc, rect.left, rect.top, width, height, pictureDc.Get(), 0, 0, width_, height_,
                   SRCINVERT);
    }
    SetTextColor(dc, previousText);
    SetBkColor(dc, previousBk);
}

bool LoadBitmapResource(Bitmap* bitmap, HINSTANCE instance, std::string_view name) {
    if (!bitmap)
        return false;
    const std::wstring wideName = Widen(name);
    HANDLE image =
        wideName.empty() ? nullptr : LoadImageW(instance, wideName.c_str(), IMAGE_BITMAP, 0, 0, 0);
    bitmap->SetBitmapHandle(static_cast<HBITMAP>(image));
    return !bitmap->Empty();
}

bool LoadBitmapFile(Bitmap* bitmap, const std::filesystem::path& path) {
    if (!bitmap)
        return false;
    HANDLE image = LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    bitmap->SetBitmapHandle(static_cast<HBITMAP>(image));
    return !bitmap->Empty();
}

}  // namespace zam
