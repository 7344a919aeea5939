// A session and a working space whose message boxes are recorded, for tests.
#pragma once

#include "core/messages.h"
#include "core/state.h"

namespace varigap::test {

struct TestState {
    RecordingMessenger msgs;
    Session session;
    State st{session};
    TestState() {
        session.messenger = &msgs;
        st.messenger = &msgs;
    }
    TestState(const TestState&) = delete;
};

}  // namespace varigap::test
