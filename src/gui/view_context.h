// What the views of one desktop program share: whether the logic's state is being drawn,
// which window's activation is on its way through Qt, and whether the program has ended.
// The program object owns it; every view it makes is given it.
#pragma once

namespace varigap::gui {

class WindowView;

struct ViewContext {
    int drawing = 0;                          // views drawing the logic's state (SyncGuard depth)
    WindowView* pendingActivation = nullptr;  // asked of Qt and not yet confirmed
    WindowView* lastRequested = nullptr;      // the last window whose activation was asked
    bool programEnded = false;                // closing a Qt window no longer goes to the logic
};

// While a view draws the logic's state, what its widgets signal is not the user.
class SyncGuard {
public:
    explicit SyncGuard(ViewContext& context) : context_(context) { ++context_.drawing; }
    ~SyncGuard() { --context_.drawing; }
    SyncGuard(const SyncGuard&) = delete;
    SyncGuard& operator=(const SyncGuard&) = delete;

private:
    ViewContext& context_;
};

}  // namespace varigap::gui
