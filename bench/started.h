// A session started with the built-in settings and a working space reading it, messages silenced.
#pragma once

#include "core/messages.h"
#include "core/state.h"
#include "engine/analysis.h"

namespace varigap::bench {

struct Started {
    SilentMessenger quiet;
    Session session;
    State st{session};
    Started() {
        session.messenger = &quiet;
        st.messenger = &quiet;
        StartUp(session, SettingsFiles::BuiltIn());
    }
};

}  // namespace varigap::bench
