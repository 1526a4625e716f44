#include "skin/skin_bitmaps.h"

#include <windows.h>

namespace zam {
namespace {

constexpr const char* kPieceNames[kFramePieceCount] = {
    "fb_l", "fb_t", "fb_b", "fb_r", "fb_tl", "fb_tr", "fb_bl", "fb_br",
};
constexpr const char* kCaptionNames[kCaptionRowCount][2] = {
    {"btnClose", "btnClose_p"},
    {"btnMin", "btnMin_p"},
    {"btnMax", "btnMax_p"},
    {"btnRestore", "btnRestore_p"},
};

int starts = 0;
Bitmap* pieces[kFramePieceCount] = {};
Bitmap* captionImages[kCaptionRowCount][2] = {};

Bitmap* LoadShared(const char* name) {
    Bitmap* bitmap = NewBitmap(0, 0);
    LoadBitmapResource(bitmap, GetModuleHandleW(nullptr), name);
    return bitmap;
}

}  // namespace

void StartFrameSkin() {
    if (starts++ > 0) {
        return;
    }
    for (int32_t i = 0; i < kFramePieceCount; ++i) {
        pieces[i] = LoadShared(kPieceNames[i]);
    }
    for (int32_t row = 0; row < kCaptionRowCount; ++row) {
        for (int32_t column = 0; column < 2; ++column) {
            captionImages[row][column] = LoadShared(kCaptionNames[row][column]);
        }
    }
}

void FinishFrameSkin() {
    // A finish without a start would free what a later start still needs.
    if (starts == 0 || --starts > 0) {
        return;
    }
    for (Bitmap*& piece : pieces) {
        Free(piece);
        piece = nullptr;
    }
    for (auto& row : captionImages) {
        for (Bitmap*& image : row) {
            Free(image);
            image = nullptr;
        }
    }
}

int FrameSkinStarts() {
    return starts;
}

Bitmap* FramePieceBitmap(int32_t piece) {
    return piece >= 0 && piece < kFramePieceCount ? pieces[piece] : nullptr;
}

Bitmap* CaptionButtonImage(int32_t row, int32_t column) {
    if (row < 0 || row >= kCaptionRowCount || column < 0 || column > 1) {
        return nullptr;
    }
    return captionImages[row][column];
}

}  // namespace zam
