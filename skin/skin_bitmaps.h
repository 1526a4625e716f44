#pragma once
// The bitmaps that every skinned form shares: the eight frame pieces and the caption-button
// images, loaded from the program's resources once when the module starts and freed when it
// finishes. Starts and finishes nest: only the first start and the last finish do the work.
#include <cstdint>

#include "toolkit/bitmap.h"

namespace zam {

// Frame pieces, in the order of FrameRecord::PieceRects.
enum FramePiece : int32_t {
    kPieceLeft = 0,
    kPieceTop,
    kPieceBottom,
    kPieceRight,
    kPieceTopLeft,
    kPieceTopRight,
    kPieceBottomLeft,
    kPieceBottomRight,
    kFramePieceCount,
};

// Rows of the caption-button image table; the columns are 0 normal, 1 highlighted.
enum CaptionImageRow : uint8_t {
    kCaptionClose = 0,
    kCaptionMin = 1,
    kCaptionMax = 2,
    kCaptionRestore = 3,
    kCaptionRowCount = 4,
};

// Caption-button images and toolbar images key out this colour.
constexpr COLORREF kSkinTransparent = 0xFF00FF;

void StartFrameSkin();
void FinishFrameSkin();
// How many starts are not yet finished.
int FrameSkinStarts();

// Starts the module for the lifetime of the object.
class FrameSkinModule {
public:
    FrameSkinModule() { StartFrameSkin(); }
    ~FrameSkinModule() { FinishFrameSkin(); }
    FrameSkinModule(const FrameSkinModule&) = delete;
    FrameSkinModule& operator=(const FrameSkinModule&) = delete;
};

// Null while the module is not started or for an index out of range; an empty bitmap when
// the resource was missing.
Bitmap* FramePieceBitmap(int32_t piece);
Bitmap* CaptionButtonImage(int32_t row, int32_t column);

}  // namespace zam
