#pragma once
// An image that lives either as a device-dependent bitmap or as device-independent pixel rows
// in memory, with a DIB section made when a GDI handle is needed.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "toolkit/canvas.h"
#include "toolkit/event.h"
#include "toolkit/gdi.h"
#include "toolkit/geometry.h"
#include "toolkit/object.h"

namespace zam {

enum class BitmapHandleType : uint8_t { DeviceIndependent = 0, DeviceDependent = 1 };

class Bitmap : public ToolkitObject, public CanvasOwner {
public:
    Bitmap();

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Keep the picture at (0, 0) and fill new area with the background colour; the handle type
    // stays. A negative size is ignored; 0 empties the bitmap. When the system cannot make the
    // larger bitmap, nothing changes.
    void SetWidth(int32_t width);
    void SetHeight(int32_t height);
    // Width or Height 0: every drawing operation does nothing.
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    // Fills new area; the colour the canvas brush starts with. White at first.
    COLORREF BackgroundColor() const { return background_; }
    void SetBackgroundColor(COLORREF color);

    // The GDI bitmap, owned by this object; for pixel rows a DIB section is made now. Null for
    // an empty bitmap or when the section cannot be made. Whoever holds the handle may draw on
    // it, so the transparency mask is rebuilt afterwards.
    HBITMAP Handle();
    // Empties the bitmap, then owns bitmap (device-dependent). Null, or a handle that is not a
    // bitmap (left alone), leaves it empty.
    void SetBitmapHandle(HBITMAP bitmap);
    // Hands the GDI bitmap over to the caller and empties this one.
    HBITMAP ReleaseHandle();

    BitmapHandleType HandleType() const { return type_; }
    // Converts between the forms, keeping the pixels; 32 bits a pixel in memory. When the
    // system cannot convert, the bitmap stays as it was.
    void SetHandleType(BitmapHandleType type);

    // Device-independent form only: the BITMAPINFO block and the pixel rows (each padded to 4
    // bytes), null otherwise. The rows may be written; the mask is rebuilt afterwards.
    const BITMAPINFO* Info() const;
    uint8_t* Rows();
    size_t RowsSize() const { return rowsSize_; }
    // Takes a copy of a device-independent picture: header (40 bytes or a later version), bit
    // fields and colour table in info, pixel rows (or RLE data) in bits. False for a
    // description that does not hold together; the bitmap is then left as it was.
    bool SetDIB(const BITMAPINFO* info, size_t infoSize, const void* bits, size_t bitsSize);

    // Empties this bitmap, then copies source's size, form and pixels.
    void Assign(Bitmap* source);

    // Null while empty; kept (not freed) across changes of size or handle.
    zam::Canvas* GetCanvas();

    void Draw(HDC dc, int32_t x, int32_t y);
    void StretchDraw(HDC dc, const Rect& rect);
    // transparent == kNoColor draws opaquely; otherwise its pixels leave the destination as
    // it was. The mask is cached per colour.
    void DrawTransparent(HDC dc, int32_t x, int32_t y, COLORREF transparent);
    void StretchDrawTransparent(HDC dc, const Rect& rect, COLORREF transparent);

    // Called after a change of size or form.
    Event<Bitmap*> OnChange;

    // CanvasOwner: a memory context with the bitmap selected.
    HDC AcquireCanvasDC(bool& release) override;
    void ReleaseCanvasDC(HDC dc) override;
    COLORREF OwnerColor() override { return background_; }
    COLORREF OwnerTextColor() override;
    GraphicTool* OwnerBrush() override { return nullptr; }
    GraphicTool* OwnerFont() override { return nullptr; }

protected:
    ~Bitmap() override;
    void ReleaseOwned() override;

private:
    // Releases the canvas context, the mask, the handle and the rows; the canvas object stays.
    void Clear();
    // The canvas gives its context back, so the handle can be used elsewhere.
    void DetachCanvas();
    // The handle, with a DIB section made for rows that have none.
    HBITMAP EnsureHandle();
    // A context with the picture selected: the canvas's while it holds one, else temp.
    HDC PictureDC(MemoryDC& temp, SelectGuard& selected);
    // Changes the form without calling OnChange; false when the system cannot.
    bool ConvertTo(BitmapHandleType type);
    bool ResizeDeviceDependent(int32_t width, int32_t height);
    void Resize(int32_t width, int32_t height);
    bool BuildMask(COLORREF color);
    void Changed();

    int32_t width_ = 0;
    int32_t height_ = 0;
    OwnedBitmap handle_;  // device-dependent bitmap or DIB section
    zam::Canvas* canvas_ = nullptr;
    COLORREF background_ = 0xFFFFFF;
    MemoryDC canvasDc_;
    SelectGuard canvasSelection_;  // puts back what the canvas context held before
    BitmapHandleType type_ = BitmapHandleType::DeviceDependent;
    std::vector<uint8_t> info_;  // BITMAPINFOHEADER, then up to 256 colours (or bit fields)
    std::vector<uint8_t> ownRows_;
    uint8_t* rows_ = nullptr;  // ownRows_, or the DIB section's memory
    size_t rowsSize_ = 0;
    // Transparency: the mask (white where the colour was) and the picture with those pixels
    // black, valid for maskColor_ while generation_ has not moved.
    OwnedBitmap mask_;
    OwnedBitmap maskedPicture_;
    COLORREF maskColor_ = 0;
    uint32_t maskGeneration_ = 0;
    uint32_t generation_ = 1;
};

// A device-dependent bitmap compatible with the screen, filled with the background colour;
// empty when either size is 0 or the system cannot make it.
Bitmap* NewBitmap(int32_t width, int32_t height);

// A bitmap resource by name (Windows-1251; "#123" for a number) into bitmap, device-dependent.
// False, with the bitmap left empty, when there is no such resource.
bool LoadBitmapResource(Bitmap* bitmap, HINSTANCE instance, std::string_view name);
// A .bmp file into bitmap, device-dependent. False, with the bitmap left empty, on failure.
bool LoadBitmapFile(Bitmap* bitmap, const std::filesystem::path& path);

// Live bitmaps, for leak tests.
int LiveBitmaps();

}  // namespace zam
