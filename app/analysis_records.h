#pragma once
// The records of the frequency graph and the about box, apart from the application state so
// that only the files that use these windows see their headers.
#include <memory>

#include "analysis/about_window.h"
#include "analysis/graph_window.h"
#include "app/app_state.h"

namespace zam {

struct GraphWindowRecord : ToolWindowRecord {
    using ToolWindowRecord::ToolWindowRecord;
    void Hidden() override {
        if (Graph)
            Graph->CancelBand();
    }
    std::unique_ptr<GraphWindow> Graph;
};

struct AboutWindowRecord : ToolWindowRecord {
    using ToolWindowRecord::ToolWindowRecord;
    std::unique_ptr<AboutWindow> About;
};

}  // namespace zam
