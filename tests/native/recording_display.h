#pragma once
// A display that records every request as a line of text, so tests can check exactly what an
// operation asked to redraw and in which order.
#include <string>
#include <vector>

#include "workspace/display.h"
#include "workspace/text_stats.h"
#include "workspace/workspace.h"

namespace zam::testing {

class RecordingView : public View {
public:
    RecordingView(std::vector<std::string>& log, std::string name, bool scrollBar)
        : log_(log), name_(std::move(name)), scrollBar_(scrollBar) {}
    bool HasScrollBar() const override { return scrollBar_; }
    void ScrollToTop() override { log_.push_back(name_ + " top"); }
    void ShrinkSurfaceToClient() override { log_.push_back(name_ + " shrink"); }
    void EnsureSurfaceHeight(int pixels) override {
        log_.push_back(name_ + " grow " + std::to_string(pixels));
    }
    void UpdateScrollBar() override { log_.push_back(name_ + " bar"); }
    void Invalidate() override { log_.push_back(name_ + " invalidate"); }

private:
    std::vector<std::string>& log_;
    std::string name_;
    bool scrollBar_;
};

class RecordingDisplay : public Display, public Messages {
public:
    explicit RecordingDisplay(const Workspace& ws) : ws_(ws) {}

    void DrawTextCell(const TextObject& text, std::uint16_t position) override {
        const char* view = &text == &ws_.CipherText ? "C" : &text == &ws_.PlainText ? "P" : "?";
        log.push_back(std::string("cell ") + view + " " + std::to_string(position));
    }
    void DrawAlphabetCell(int row, int column) override {
        log.push_back("alpha " + std::to_string(row) + " " + std::to_string(column));
    }
    void DrawMarker(MarkerKind kind, char letter) override {
        log.push_back("marker " + std::to_string(static_cast<int>(kind)) + " " + letter);
    }
    void DrawGraph(bool erase) override { log.push_back(erase ? "graph erase" : "graph"); }
    void SetAlphabetCaption(std::string_view text) override {
        caption = text;
        log.push_back("caption " + caption);
    }
    void SetMainTitle(std::string_view text) override {
        title = text;
        log.push_back("title " + title);
    }
    std::span<View* const> Views() override { return views; }
    void InvalidateGraphSurface() override { log.push_back("graph surface"); }
    void Show(std::string_view text, MessageIcon icon) override {
        messages.push_back(std::string(text) + (icon == MessageIcon::Error ? " [error]" : ""));
    }

    // Only the requests of one kind, e.g. "cell", in order.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& line : log) {
            if (line.rfind(prefix, 0) == 0) out.push_back(line);
        }
        return out;
    }

    std::vector<std::string> log;
    std::vector<std::string> messages;
    std::vector<View*> views;
    std::string caption;
    std::string title;

private:
    const Workspace& ws_;
};

// Loads a ciphertext as opening a cryptogram does: plaintext all spaces, statistics built.
inline void LoadCipherText(Workspace& ws, std::string_view text) {
    ws.CipherText.text = text;
    ws.PlainText.text.assign(text.size(), ' ');
    BuildLetterStatistics(ws.TextStats, text);
    BuildPairStatistics(ws.TextStats, text);
}

}  // namespace zam::testing
