// Creation of forms, child controls, panels and edit boxes, and the forms' built-in handlers.
#include "toolkit/color.h"
#include "toolkit/control_internal.h"

namespace zam {
namespace {

constexpr Rect kDefaultChildBounds{0, 0, 64, 64};

}  // namespace

Control* ControlInternals::Make(Control* parent, std::string_view className, uint32_t style,
                                uint32_t exStyle, bool child) {
    Control* control = NewObject<Control>();
    control->className_.assign(className);
    control->isChild_ = child;
    control->style_ = style;
    control->exStyle_ = exStyle;
    control->parent_ = parent;
    if (parent) {
        if (!parent->children_) {
            parent->children_ = NewList();
        }
        parent->children_->Add(control);
        control->Navigation = parent->Navigation;
    }
    return control;
}

Control* NewForm(Control* parent, std::string_view caption) {
    Control* form =
        ControlInternals::Make(parent, "Form", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, false);
    form->classStyle_ = CS_DBLCLKS;
    form->caption_.assign(caption);
    form->TabStop = true;
    form->AttachMessageHandler(ControlInternals::FormEraseHandler);
    form->AttachMessageHandler(ControlInternals::FormFocusHandler);
    return form;
}

Control* NewChildControl(Control* parent, std::string_view className, uint32_t style,
                         uint32_t exStyle) {
    if (!parent) {
        return nullptr;  // a child window cannot exist without its parent
    }
    Control* control = ControlInternals::Make(parent, className, style | WS_CHILD, exStyle, true);
    control->bounds_ = kDefaultChildBounds;
    control->hasPosition_ = control->hasSize_ = true;
    control->TabStop = (style & WS_TABSTOP) != 0;
    Control* form = control->ParentForm();
    control->creationNumber_ = ++form->lastCreationNumber_;
    if (parent->handle_ && !parent->childrenPending_) {
        parent->childrenPending_ =
            PostMessageW(parent->handle_, kCreateChildrenMessage, 0, 0) != FALSE;
    }
    return control;
}

Control* NewPanel(Control* parent, int32_t edgeStyle) {
    uint32_t style = 0x5000018C;  // visible child, SS_NOTIFY, no prefix, no word wrap
    if (edgeStyle == 0) {
        style |= WS_DLGFRAME;
    } else if (edgeStyle == 1) {
        style |= SS_SUNKEN;
    }
    return NewChildControl(parent, "STATIC", style, WS_EX_CONTROLPARENT);
}

uint32_t EditBoxStyle(uint32_t options) {
    uint32_t style = 0x50810000;  // visible child, border, tab stop
    if (!(options & kEditNoHScroll)) {
        style |= WS_HSCROLL | ES_AUTOHSCROLL;
    }
    if (!(options & kEditNoVScroll)) {
        style |= WS_VSCROLL | ES_AUTOVSCROLL;
    }
    static constexpr struct {
        uint32_t option;
        uint32_t style;
    } kBits[] = {
        {kEditLowerCase, ES_LOWERCASE}, {kEditMultiline, ES_MULTILINE},
        {kEditNoHideSel, ES_NOHIDESEL}, {kEditOemConvert, ES_OEMCONVERT},
        {kEditPassword, ES_PASSWORD},   {kEditReadOnly, ES_READONLY},
        {kEditUpperCase, ES_UPPERCASE}, {kEditWantReturn, ES_WANTRETURN},
    };
    for (const auto& bit : kBits) {
        if (options & bit.option) {
            style |= bit.style;
        }
    }
    if (!(options & kEditMultiline)) {
        style &= ~static_cast<uint32_t>(WS_HSCROLL | WS_VSCROLL);
    }
    return style;
}

Control* NewEditBox(Control* parent, uint32_t options) {
    Control* edit = NewChildControl(parent, "EDIT", EditBoxStyle(options));
    if (!edit) {
        return nullptr;
    }
    // An edit box shows the system's window colours, not the button face of other controls.
    edit->color_ = 0x80000005;  // COLOR_WINDOW
    if (options & kEditMultiline) {
        edit->SetSize(200, 200);
    } else {
        edit->SetSize(100, 22);
    }
    return edit;
}

bool ControlInternals::FormEraseHandler(Control* control, Message& m) {
    if (m.Msg != WM_ERASEBKGND) {
        return false;
    }
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(control->color_));
    SetBrushOrgEx(dc, 0, 0, nullptr);
    RECT client{};
    GetClientRect(m.Window, &client);
    FillRect(dc, &client, control->BrushHandle());
    m.Result = 1;
    return true;
}

bool ControlInternals::FormFocusHandler(Control* control, Message& m) {
    ToolkitState& state = Toolkit();
    if (m.Msg == WM_SETFOCUS) {
        if (state.applet) {
            state.appletCurrentForm = control;
        }
        Control* current = control->currentControl_;
        if (current && current->handle_ && IsWindowVisible(current->handle_)) {
            SetFocus(current->handle_);
            m.Result = 0;
            return true;
        }
        return false;
    }
    if (m.Msg == WM_ENDSESSION && m.WParam) {
        // The session ends: there is no later chance to release anything.
        RunEndingHook();
        Free(state.applet);
        ExitProcess(0);
    }
    return false;
}

}  // namespace zam
