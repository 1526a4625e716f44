#pragma once
// What the workspace asks of the windows. The workspace changes its state and then names
// exactly what must be redrawn; the windows implement these requests.
#include <cstdint>
#include <span>
#include <string_view>

namespace zam {

struct TextObject;

// A drawing view that open and reset repaint as a whole.
class View {
public:
    virtual bool HasScrollBar() const = 0;
    virtual void ScrollToTop() = 0;
    // The drawing surface shrinks to the client height when it is taller.
    virtual void ShrinkSurfaceToClient() = 0;
    // The drawing surface grows to at least this many pixels.
    virtual void EnsureSurfaceHeight(int pixels) = 0;
    virtual void UpdateScrollBar() = 0;
    // Whole view, without erasing the background.
    virtual void Invalidate() = 0;

protected:
    ~View() = default;
};

enum class MarkerKind { Cipher = 1, Reference = 3 };

class Display {
public:
    // Text cell at 1-based position of the view that shows this text object, drawn now.
    virtual void DrawTextCell(const TextObject& text, std::uint16_t position) = 0;
    // Alphabet cell: row 1 cipher alphabet, 2 key, 3 free plaintext letters; column 1-32.
    virtual void DrawAlphabetCell(int row, int column) = 0;
    virtual void DrawMarker(MarkerKind kind, char letter) = 0;
    // The whole frequency graph; with erase, drawn again in the background colour.
    virtual void DrawGraph(bool erase) = 0;
    virtual void SetAlphabetCaption(std::string_view caption) = 0;
    virtual void SetMainTitle(std::string_view title) = 0;
    // The drawing views repainted together, in their fixed order.
    virtual std::span<View* const> Views() = 0;
    virtual void InvalidateGraphSurface() = 0;

protected:
    ~Display() = default;
};

enum class MessageIcon { None, Error };

// Message boxes, captioned with the application's name.
class Messages {
public:
    virtual void Show(std::string_view text, MessageIcon icon) = 0;

protected:
    ~Messages() = default;
};

}  // namespace zam
