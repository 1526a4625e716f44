#!/usr/bin/env python3
"""Plants small, realistic faults one at a time, runs the tests that should notice, records
which tests failed, and puts the source back. It is how a cut of the test suite is checked:
every fault caught before the cut must still be caught after it.

    scripts/plant_faults.sh [--only ID ...] [--shard K/N] [--list]   (starts Xvfb and Wine)

Each fault names a file, a snippet that must occur there exactly once, its replacement, and
the tree whose tests run: native (window-free core, under the sanitizers), solver, windows.
A snippet that no longer occurs is reported as stale: update the fault with the code.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
BUILD = Path(os.environ.get("ZAM_BUILD", ROOT / "build"))
WINE = "/usr/lib/wine/wine64"

FAULTS = [
    # id, file, snippet, replacement, tree
    ("app-picture-scroll-stale", "app/text_window.cpp", "    scrollTop_ = offset;\n    picture_.MarkStale();",
     "    scrollTop_ = offset;", "windows"),
    ("app-picture-invalidate", "app/text_window.cpp", "void TextView::Invalidate() {\n    picture_.MarkStale();",
     "void TextView::Invalidate() {", "windows"),
    ("app-cell-cache-key", "app/cell_painter.cpp",
     "const Look look{style.background, style.text, border, style.glyph, style.bold};",
     "const Look look{style.background, style.text, border, style.glyph, false};", "windows"),
    ("app-alphabet-picture-stale", "app/alphabet_window.cpp", "void AlphabetView::Invalidate() {\n    picture_.MarkStale();",
     "void AlphabetView::Invalidate() {", "windows"),
    ("ws-place-wrap", "workspace/colouring.cpp", "if (p % w == 0) return {w, p / w};",
     "if (p % w == 0) return {w, p / w + 1};", "native"),
    ("ws-cell-left", "workspace/colouring.cpp",
     "return {kCellPitch * (column - 1) + kGridMargin,", "return {kCellPitch * (column - 1) + kGridMargin + 1,",
     "native"),
    ("ws-blend-equal", "workspace/colouring.cpp", "if (lo == hi) return b;", "if (lo == hi) return a;", "native"),
    ("ws-selected-colour", "workspace/colouring.cpp",
     "ws.HiliteSelected) colour = palette[kSelectedEntry];", "ws.HiliteSelected) colour = palette[kSelectedEntry + 1];",
     "native"),
    ("ws-assign-keeps-old", "workspace/operations.cpp", "        entry = kNoLetter;\n", "\n", "native"),
    ("ws-drop-no-redraw", "workspace/operations.cpp", "if (ws.HiliteSelected || letter == kNoLetter) {",
     "if (ws.HiliteSelected) {", "native"),
    ("ws-clear-hint", "workspace/operations.cpp", 'caption += std::string(" .: Очистим ") + selected + " ]";',
     'caption += std::string(" .: Очистим ") + selected + "]";', "native"),
    ("ws-hover-kept", "workspace/operations.cpp", "    ws.HoverPos = 0;  // the text under", "    // the text under", "native"),
    ("ws-crlf", "workspace/document_file.cpp", 'constexpr std::string_view kLineEnd = "\\r\\n";',
     'constexpr std::string_view kLineEnd = "\\n";', "native"),
    ("ws-letter-min", "workspace/text_stats.cpp", "if (k > 0 && (stats.letterMin == 0 || k < stats.letterMin)) {",
     "if (k > 0 && (stats.letterMin == 0 || k <= stats.letterMin + 1)) {", "native"),
    ("ws-key-fold", "workspace/operations.cpp", "if (code >= 0xE0) return static_cast<char>(code - 32);",
     "if (code >= 0xE0) return key;", "native"),
    ("ws-in-use-key", "workspace/operations.cpp", "if (ws.KeyTable.key[column] == letter) return true;",
     "if (ws.KeyTable.key[column] == letter) return false;", "native"),
    ("settings-word", "app/settings_codec.cpp", "return static_cast<std::uint16_t>(low | (high << 8));",
     "return static_cast<std::uint16_t>(low | (high << 7));", "native"),
    ("tk-autofree-arg", "toolkit/object.cpp", "            proc(pairs->Items[i + 1]);", "            proc(pairs->Items[i]);",
     "native"),
    ("tk-deferred-free", "toolkit/object.cpp", "        obj->RefCount -= 1;", "        obj->RefCount -= 2;", "native"),
    ("tk-gdi-leak", "toolkit/gdi.cpp", "        ReleaseDC(window_, dc_);", "        (void)window_;", "windows"),
    ("skin-close-hides", "skin/skinned_form.cpp", "        if (f->CloseHides) {\n            form->Hide();",
     "        if (!f->CloseHides) {\n            form->Hide();", "windows"),
    ("skin-client-rect", "skin/skinned_form.cpp", "const Rect r{client.left + form->Border, captionHeight + form->Border,",
     "const Rect r{client.left + form->Border, captionHeight + form->Border - 1,", "windows"),
    ("skin-thumb-end", "skin/scroll_bar.cpp", "            start = static_cast<int16_t>(track - thumb);",
     "            start = static_cast<int16_t>(track - thumb - 1);", "windows"),
    ("skin-caption-colour", "skin/skinned_form.cpp", "                f->CaptionColor = kActiveCaptionColor;",
     "                f->CaptionColor = kInactiveCaptionColor;", "windows"),
    ("app-settings-visible", "app/settings_file.cpp", "data.flags += app.ShownToUser(window->Form) ? '1' : '0';",
     "data.flags += window->Form->Visible() ? '1' : '0';", "windows"),
    ("app-settings-before-free", "app/startup.cpp", "    WriteSettings(app);\n", "\n", "windows"),
    ("app-modal-guard", "app/modal_scope.h", "return app.ModalDepth == 0 && app.ShutdownRuns == 0;",
     "return app.ShutdownRuns == 0;", "windows"),
    ("app-cursor-jump", "app/alphabet_window.cpp", "SetCursorPos(target.x + 1, target.y + 1);",
     "SetCursorPos(target.x, target.y + 1);", "windows"),
    ("app-space-unselected", "app/alphabet_window.cpp", "    if (symbol == kClearLetter) {\n        return;",
     "    if (symbol == 0) {\n        return;", "windows"),
    ("app-paint-last-cell", "app/text_window.cpp", "            if (position > length) {",
     "            if (position >= length) {", "windows"),
    ("app-scroll-clamp", "app/text_window.cpp", "offset = std::clamp(offset, 0, std::max(height_ - ClipHeight(), 0));",
     "offset = std::clamp(offset, 0, std::max(height_ - ClipHeight() - 16, 0));", "windows"),
    ("app-right-click", "app/text_window.cpp",
     "if (ws.CipherText.text.empty() || LetterOf(ws.SelectedLetter) == LetterOf(ws.CurrentLetter)) {",
     "if (ws.CipherText.text.empty()) {", "windows"),
    ("app-strip-close", "app/main_window.cpp", "    if (message.Msg != WM_CLOSE) {\n        return false;",
     "    if (message.Msg != WM_NULL) {\n        return false;", "windows"),
    ("an-scale-cap", "analysis/graph_axis.cpp", "axis.maximum = ToUnsigned16(int64_t{Nearest(width / 5.0)} + axis.minimum);",
     "axis.maximum = ToUnsigned16(int64_t{Nearest(width / 4.0)} + axis.minimum);", "native"),
    ("an-base-step", "analysis/graph_axis.cpp", "const int32_t base = hundreds < 2 ? 10 : hundreds < 5 ? 50 : 100;",
     "const int32_t base = hundreds < 2 ? 10 : hundreds < 4 ? 50 : 100;", "native"),
    ("an-zoom-threshold", "analysis/graph_axis.cpp", "if (right - left < 50 || top - bottom < 50) {",
     "if (right - left < 50 || top - bottom < 40) {", "native"),
    ("solver-fixed", "solver/key_solver.cpp", "        if (p.fixed[c] >= 0)\n            continue;\n        p.free.push_back(c);",
     "        p.free.push_back(c);", "solver"),
    ("ws-too-long", "workspace/document_file.cpp", "if (content.cipherText.size() > kMaxTextLength)",
     "if (content.cipherText.size() >= kMaxTextLength)", "native"),
    ("enc-last-letter", "toolkit/encoding.cpp", "if (codePoint >= 0x0410 && codePoint <= 0x044F) {",
     "if (codePoint >= 0x0410 && codePoint < 0x044F) {", "native"),
    ("enc-overlong", "toolkit/encoding.cpp", "if (value < minimum || value > 0x10FFFF", "if (value > 0x10FFFF",
     "native"),
    ("tk-mouse-sign", "toolkit/dispatch.cpp", "int32_t XOf(LPARAM lParam) {\n    return static_cast<int16_t>(LOWORD(lParam));",
     "int32_t XOf(LPARAM lParam) {\n    return LOWORD(lParam);", "windows"),
    ("tk-mouse-shift", "toolkit/dispatch.cpp", "data.Shift = (LOWORD(m.WParam) & 0x1F) | AltBit();",
     "data.Shift = (LOWORD(m.WParam) & 0x0F) | AltBit();", "windows"),
    ("tk-char-changed", "toolkit/dispatch.cpp", "m.WParam = Cp1251ToCodePoint(static_cast<unsigned char>(key));",
     "m.WParam = static_cast<WPARAM>(key);", "windows"),
    ("tk-select-restore", "toolkit/gdi.cpp", "        SelectObject(dc_, previous_);", "        (void)previous_;", "windows"),
    ("tk-memdc-leak", "toolkit/gdi.cpp", "        DeleteDC(dc_);", "        (void)dc_;", "windows"),
    ("tk-canvas-clear-brush", "toolkit/canvas.cpp", "            SetBkMode(dc_, TRANSPARENT);",
     "            SetBkMode(dc_, OPAQUE);", "windows"),
    ("tk-menu-radio", "toolkit/menu.cpp", "if (other->radio_ && other->radioGroup_ == item->radioGroup_) {",
     "if (other->radio_) {", "windows"),
    ("tk-enable", "toolkit/control.cpp", "        EnableWindow(handle_, enabled);", "        EnableWindow(handle_, TRUE);",
     "windows"),
    ("skin-grip-edge", "skin/skinned_form.cpp", "if (x > w - kGrip) {", "if (x > w - kGrip + 1) {", "windows"),
    ("skin-hit-sign", "skin/skinned_form.cpp", "int32_t XOf(LPARAM lParam) {\n    return static_cast<int16_t>(LOWORD(lParam));",
     "int32_t XOf(LPARAM lParam) {\n    return LOWORD(lParam);", "windows"),
    ("skin-hover-colour", "skin/skinned_button.cpp",
     "            if (look.color != r->PressedColor) {\n                look.color = r->HoverColor;",
     "            if (look.color != r->PressedColor) {\n                look.color = r->NormalColor;", "windows"),
    ("skin-arrow-step", "skin/scroll_bar.h", "constexpr int32_t kScrollArrowStep = 10;",
     "constexpr int32_t kScrollArrowStep = 9;", "windows"),
    ("an-marker-size", "analysis/graph_window.cpp", "canvas->Rectangle(at.x - 3, at.y - 3, at.x + 3, at.y + 3);",
     "canvas->Rectangle(at.x - 3, at.y - 3, at.x + 2, at.y + 3);", "windows"),
    ("an-marker-lit", "analysis/graph_window.cpp", "lit = letter == LetterOf(ws.PlainLetter);", "lit = false;",
     "windows"),
    ("app-bigram-outline", "app/bigram_window.cpp", "if (look.outline > 1) {", "if (look.outline > 2) {", "windows"),
    ("app-phrase-escape", "app/phrase_dialog.cpp", "key == VK_RETURN ? kHighlightButton : kRemoveButton",
     "kHighlightButton", "windows"),
    ("skin-resize-trace", "skin/skinned_form.cpp", "            InvalidateMovingPieces(window, f, TRUE);",
     "            (void)f;", "windows"),
    ("skin-corner-zone", "skin/skinned_form.cpp", "hit = x < kCornerZone       ? HTTOPLEFT",
     "hit = x <= kCornerZone      ? HTTOPLEFT", "windows"),
    ("skin-caption-bitmap-leak", "skin/skinned_form.cpp", "    Free(CaptionBitmap);", "", "windows"),
    ("app-cell-text-colour", "app/cell_painter.cpp", "const COLORREF text = SetTextColor(dc, style.text);",
     "const COLORREF text = SetTextColor(dc, style.background);", "windows"),
    ("app-cell-bold", "app/cell_painter.cpp", "SelectObject(dc, style.bold ? bold_.Get() : normal_.Get());",
     "SelectObject(dc, normal_.Get());", "windows"),
    ("app-cell-font-kept", "app/cell_painter.cpp", "        SelectObject(dc, font);\n", "", "windows"),
    ("app-save-filter", "app/document_commands.cpp", '"DeCODE files (*.txt)|*.txt"', '"CODE files (*.txt)|*.txt"',
     "windows"),
    ("tk-session-end-hook", "toolkit/forms.cpp", "        RunEndingHook();\n        Free(state.applet);",
     "        Free(state.applet);", "windows"),
    ("ws-key-label", "workspace/document_file.cpp", 'kKeyLabel = "Алфавит замены:";', 'kKeyLabel = "Алфавит замены";',
     "native"),
    ("tk-blank-nbsp", "toolkit/strings.cpp", "return static_cast<unsigned char>(c) <= 32;",
     "return static_cast<unsigned char>(c) <= 32 || static_cast<unsigned char>(c) == 0xA0;", "native"),
    ("tk-canvas-dc-kept", "toolkit/control_drawing.cpp",
     "        canvasDc_.reset();\n        canvasDcWindow_ = nullptr;", "        canvasDcWindow_ = nullptr;",
     "windows"),
    ("tk-bitmap-self-handle", "toolkit/bitmap.cpp", "    if (bitmap && bitmap == handle_.Get())\n        return;\n",
     "", "windows"),
    ("tk-weak-move-stays", "toolkit/weak_ref.h",
     "    WeakRef(WeakRef&& other) noexcept { Reset(other.Release()); }",
     "    WeakRef(WeakRef&& other) noexcept : target_(std::exchange(other.target_, nullptr)) {}",
     "native"),
    ("tk-weak-reset-keeps-pair", "toolkit/weak_ref.h", "            RemoveFromAutoFree(target_, &Gone, this);\n",
     "", "native"),
    ("tk-slot-same-routine", "toolkit/event.h", "ZAM_ASSERT(!event.Assigned() || !this->Assigned());",
     "ZAM_ASSERT(!event.Assigned() || !this->Assigned() || event.code == this->code);", "native"),
    ("tk-handler-object-ignored", "toolkit/control.cpp",
     "        if (handlers_->Items[i] == reinterpret_cast<void*>(handler.code) &&\n"
     "            handlers_->Items[i + 1] == handler.data) {",
     "        if (handlers_->Items[i] == reinterpret_cast<void*>(handler.code)) {", "windows"),
    ("skin-close-keeps-form", "skin/skinned_form.cpp", "    form->FreeOnClose = true;\n", "\n", "windows"),
    ("tk-brush-repaint", "toolkit/control_drawing.cpp",
     "    control->color_ = brush->Color();\n    control->Invalidate();", "    control->color_ = brush->Color();",
     "windows"),
]

# A whole Windows run takes two or three minutes even on a busy machine.
WINDOWS_TIMEOUT = int(os.environ.get("PLANT_TIMEOUT", "480"))
TARGETS = {"native": ("native", "native_tests"), "solver": ("native", "solver/solver_tests"),
           "windows": ("win64", "windows_tests.exe")}


def run(cmd, cwd=None, timeout=900):
    return subprocess.run(cmd, cwd=cwd, capture_output=True, text=True, errors="replace",
                          timeout=timeout)


def run_logged(cmd, cwd, timeout):
    """Output goes to a file, not a pipe: a Wine service started by the run may keep a pipe open
    long after the tests end, and the run would wait for it."""
    with tempfile.TemporaryFile(mode="w+", encoding="utf-8", errors="replace") as log:
        code = subprocess.run(cmd, cwd=cwd, stdin=subprocess.DEVNULL, stdout=log,
                              stderr=subprocess.STDOUT, timeout=timeout).returncode
        log.seek(0)
        return code, log.read()


def restart_wine():
    # The start that every run uses; Wine's services start there with no run's output to hold.
    subprocess.run(["bash", "-c", f'. "{ROOT}/scripts/common.sh" && zam_stop_wine && '
                    '"$ZAM_WINESERVER" -w; zam_start_wine'],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=120)


def tests_failing(tree):
    build, binary = TARGETS[tree]
    # The Windows tests also start the program itself, so the whole tree is rebuilt.
    target = [] if tree == "windows" else ["--target", Path(binary).name]
    made = run(["cmake", "--build", str(BUILD / build)] + target)
    if made.returncode != 0:
        return ["(does not compile)"]
    try:
        if tree == "windows":
            code, out = run_logged([WINE, "./" + binary], BUILD / build, WINDOWS_TIMEOUT)
        else:
            code, out = run_logged([str(BUILD / build / binary)], None, WINDOWS_TIMEOUT)
    except subprocess.TimeoutExpired:
        # A fault that hangs the program is caught; the next run needs a fresh Wine server.
        if tree == "windows":
            restart_wine()
        return ["(hung)"]
    failed = sorted(set(re.findall(r"^\[  FAILED  \] ([A-Za-z_][\w/]*\.\w+(?:/\d+)?)", out, re.M)))
    if code != 0 and not failed:
        failed = ["(crashed or timed out)"]
    return failed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--only", nargs="*")
    parser.add_argument("--list", action="store_true")
    parser.add_argument("--shard", default="0/1",
                        help="K/N: every N-th fault from the K-th, to split a run over checkouts")
    args = parser.parse_args()
    k, n = (int(v) for v in args.shard.split("/"))
    faults = [f for f in FAULTS if not args.only or f[0] in args.only][k::n]
    if args.list:
        for f in faults:
            print(f[0], f[1], f[4])
        return 0
    missed = 0
    for fid, name, old, new, tree in faults:
        path = ROOT / name
        source = path.read_text(encoding="utf-8")
        if source.count(old) != 1:
            print(f"{fid:22} STALE (snippet not found once in {name})", flush=True)
            continue
        try:
            path.write_text(source.replace(old, new), encoding="utf-8")
            failed = tests_failing(tree)
        finally:
            path.write_text(source, encoding="utf-8")
        if failed:
            print(f"{fid:22} caught by {', '.join(failed)}", flush=True)
        else:
            missed += 1
            print(f"{fid:22} MISSED", flush=True)
    for tree in {f[4] for f in faults}:  # leave the trees built from the restored source
        run(["cmake", "--build", str(BUILD / TARGETS[tree][0])])
    print(f"{len(faults)} faults, {missed} missed")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
