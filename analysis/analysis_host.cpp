#include "analysis/analysis_host.h"

#include "toolkit/pointer_list.h"

namespace zam {

FormLink::FormLink(Control* form) : form_(form) {
    AddToAutoFree(form, &FormGone, this);
}

FormLink::~FormLink() {
    if (!form_ || !form_->AutoFree) {
        return;
    }
    // The pairs are (procedure, argument), two items each.
    PointerList* pairs = form_->AutoFree;
    for (int32_t i = 0; i + 1 < pairs->Count; i += 2) {
        if (pairs->Items[i] == reinterpret_cast<void*>(&FormGone) && pairs->Items[i + 1] == this) {
            pairs->DeleteRange(i, 2);
            return;
        }
    }
}

void FormLink::FormGone(void* link) {
    static_cast<FormLink*>(link)->form_ = nullptr;
}

}  // namespace zam
