// A State whose message boxes are recorded, for tests.
#pragma once

#include "core/messages.h"
#include "core/state.h"

namespace varigap::test {

struct TestState {
    RecordingMessenger msgs;
    State st;
    TestState() { st.messenger = &msgs; }
    TestState(const TestState&) = delete;
};

}  // namespace varigap::test
