// Message boxes and the reporting services.
#include "core/messages.h"

#include <cerrno>
#include <new>
#include <system_error>

#include "core/state.h"
#include "core/textfile.h"
#include "core/types.h"

namespace varigap {

MsgAnswer SilentMessenger::Show(const Message& m) { return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : answer_; }

MsgAnswer RecordingMessenger::Show(const Message& m) {
    shown.push_back(m);
    if (m.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (answers.empty()) return defaultAnswer;
    MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
}

std::vector<std::string> RecordingMessenger::Texts() const {
    std::vector<std::string> t;
    for (const auto& m : shown) t.push_back(m.text);
    return t;
}

Reporter::Reporter(const Session& s) : messenger(s.messenger), session(s) {}
Reporter::Reporter(const State& st) : messenger(st.messenger), session(st.session) {}

static MsgAnswer ShowMessage(Reporter to, const Message& m) {
    if (!to.messenger) return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Yes;
    return to.messenger->Show(m);
}

void MsgBox(Reporter to, const std::string& text, const std::string& title, MsgIcon icon) {
    ShowMessage(to, Message{title, text, MsgButtons::Ok, icon});
}

MsgAnswer Ask(Reporter to, const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon) {
    return ShowMessage(to, Message{title, text, buttons, icon});
}

void ReportAssertFailure(Reporter to) {
    if (to.session.showAssertFailures)
        MsgBox(to,
               "Varigap internal logic error. The programmer's false assumptions may have "
               "unexpected consequences.",
               "Varigap Logic Error", MsgIcon::Critical);
}

void ReportRunTimeError(Reporter to, const std::exception& e) {
    int number = kErrPathFileAccess;
    std::string description;
    if (auto* rte = dynamic_cast<const RunTimeError*>(&e)) {
        number = rte->Number();
        description = rte->Description();
    } else if (dynamic_cast<const std::bad_alloc*>(&e)) {
        number = kErrOutOfMemory;
        description = ErrorDescription(number);
    } else if (dynamic_cast<const std::out_of_range*>(&e)) {
        number = kErrSubscriptOutOfRange;
        description = ErrorDescription(number);
    } else {
        description = e.what();
    }
    if (!to.session.showRunTimeErrors) return;
    MsgBox(to, "Run-Time Error #" + std::to_string(number) + ": " + description, "Varigap Run-Time Error",
           MsgIcon::Critical);
}

void ReportRunTimeError(Reporter to, std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        ReportRunTimeError(to, ex);
    } catch (...) {
        ReportRunTimeError(to, RunTimeError(kErrPathFileAccess, ErrorDescription(kErrPathFileAccess)));
    }
}

std::string FullPath(const std::string& directory, const std::string& name) {
    if (directory.empty()) return name;
    if (directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

bool OpenInputFile(Reporter to, TextReader& file, const std::string& directory, const std::string& name,
                   const std::string& description) {
    std::string path = FullPath(directory, name);
    try {
        std::string found = name.empty() ? "" : FindFileIgnoringCase(directory, name);
        if (found.empty()) {
            ShowMessage(to, Message{.title = "Varigap",
                                    .text = "Error: " + description + " \"" + path + "\" not found.",
                                    .notFound = {description, path}});
            return false;
        }
        file.Open(found);
        return true;
    } catch (...) {
        ReportRunTimeError(to, std::current_exception());
        file.Close();
        return false;
    }
}

}  // namespace varigap
