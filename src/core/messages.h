// Message boxes and the three reporting services: Assert, ReportRunTimeError, OpenInputFile.
#pragma once

#include <deque>
#include <exception>
#include <string>
#include <vector>

namespace varigap {

struct Session;
struct State;
class TextReader;

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// A report that an input file was not found, as data: what the file is ("Varigap Variable
// Region File") and its path as reported.
struct FileNotFound {
    std::string kind, path;
};

struct Message {
    std::string title;
    std::string text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    FileNotFound notFound{};  // set by OpenInputFile's report of a missing file, else empty
};

// A modal message box. The desktop program shows a dialog, the command line writes to
// standard error and answers from its options, tests record what was shown.
class Messenger {
public:
    virtual ~Messenger() = default;
    virtual MsgAnswer Show(const Message& m) = 0;
};

// Shows nothing and answers every question with its default answer.
class SilentMessenger : public Messenger {
public:
    explicit SilentMessenger(MsgAnswer answer = MsgAnswer::Yes) : answer_(answer) {}
    MsgAnswer Show(const Message& m) override;

private:
    MsgAnswer answer_;
};

// Records every message; questions take the queued answers in order, then `defaultAnswer`.
class RecordingMessenger : public Messenger {
public:
    MsgAnswer Show(const Message& m) override;
    std::vector<std::string> Texts() const;
    void Clear() { shown.clear(); }

    std::vector<Message> shown;
    std::deque<MsgAnswer> answers;
    MsgAnswer defaultAnswer = MsgAnswer::Yes;
};

// Where a message goes and the settings that say which messages are shown: an analysis job's
// (its own messenger) or the session's (the loaders'). Reporting only reads them.
struct Reporter {
    Reporter(const Session& session);  // NOLINT(google-explicit-constructor): every caller passes one
    Reporter(const State& st);         // NOLINT(google-explicit-constructor)
    Messenger* messenger;
    const Session& session;
};

// A message with an OK button, by default titled "Varigap".
void MsgBox(Reporter to, const std::string& text, const std::string& title = "Varigap", MsgIcon icon = MsgIcon::None);
// A question; returns the button pressed.
MsgAnswer Ask(Reporter to, const std::string& text, const std::string& title, MsgButtons buttons,
              MsgIcon icon = MsgIcon::Question);

// Reports a broken internal assumption while showAssertFailures is on; never stops the caller.
void ReportAssertFailure(Reporter to);
// Takes the job's state or the session as it is, so a check that holds costs nothing more.
template <class Context>
inline void Assert(const Context& where, bool condition) {
    if (!condition) [[unlikely]]
        ReportAssertFailure(where);
}

// Reports a trapped run-time error ("Run-Time Error #" number ": " description) while
// showRunTimeErrors is on. Accepts any caught exception; unknown ones are reported with
// the nearest classic error number.
void ReportRunTimeError(Reporter to, const std::exception& e);
void ReportRunTimeError(Reporter to, std::exception_ptr e);

// Runs `body`, trapping any run-time error: it is reported and false is returned.
template <class F>
bool Trapped(Reporter to, F&& body) {
    try {
        body();
        return true;
    } catch (...) {
        ReportRunTimeError(to, std::current_exception());
        return false;
    }
}

// Full path of a file: `name` alone when `directory` is empty, otherwise directory, a "/"
// unless it already ends in one, and name.
std::string FullPath(const std::string& directory, const std::string& name);

// Checks that the file exists (a regular file, or a link to one), says so in one fixed form
// when it does not, and opens it for reading into `file`.
bool OpenInputFile(Reporter to, TextReader& file, const std::string& directory, const std::string& name,
                   const std::string& description);

}  // namespace varigap
