// varigap: the desktop program.
//   varigap                                 starts with nothing loaded
//   varigap TEMPLATE_FILE SEQUENCE_FILE     also loads the two files through the file windows
//   varigap --help | --version              says where its files are, or its version
#include <QApplication>
#include <QDir>
#include <QStringList>
#include <cstring>
#include <iostream>
#include <memory>

#include "core/textfile.h"
#include "core/version.h"
#include "gui/fonts.h"
#include "gui/install_check.h"
#include "gui/program.h"
#include "gui/screenshots.h"
#include "settings/locations.h"

namespace {

const char* kUsage = "Usage: varigap [TEMPLATE_FILE SEQUENCE_FILE]\n       varigap --help | --version\n";

// Answered before Qt starts, so that they work without a display.
bool Informational(int argc, char** argv, int& status) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "varigap " << varigap::VersionText() << "\n";
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            auto session = std::make_unique<varigap::Session>();
            session->programDir = varigap::ProgramDirectory();
            varigap::LocateInstalledFiles(*session);
            std::cout << kUsage
                      << "\nOpens the main window; with TEMPLATE_FILE and SEQUENCE_FILE it also loads the two files.\n"
                      << "See varigap(1), and varigap-cli(1) for batch analysis.\n\nHelp chapters: "
                      << varigap::DataFileDirectory(*session, "VarigapHelp0.txt") << "\n\n"
                      << varigap::SettingsPlacesHelp(*session);
        } else {
            continue;
        }
        status = 0;
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int status = 0;
    if (Informational(argc, argv, status)) return status;
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Varigap");
    QApplication::setOrganizationName("Varigap");  // where the settings (recent files) are kept

    QStringList args = QApplication::arguments();
    args.removeFirst();
    QString screenshots;  // an undocumented switch: pictures of the windows into a directory
    bool checkInstall = false;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == "--screenshots" && i + 1 < args.size()) {
            screenshots = args[++i];
        } else if (args[i] == "--check-install") {
            checkInstall = true;
        } else if (args[i].startsWith("--")) {
            files.clear();
            break;
        } else {
            files << args[i];
        }
    }
    if ((files.size() != 0 && files.size() != 2) ||
        (!args.isEmpty() && files.isEmpty() && screenshots.isEmpty() && !checkInstall)) {
        std::cerr << kUsage;
        return 2;
    }

    using namespace varigap::gui;
    // Help and settings files: beside the program, else where it was installed; the user's
    // settings in their configuration folder when they cannot be kept beside the program.
    Program program(FromQt(QApplication::applicationDirPath()), FromQt(QDir::currentPath()));
    varigap::LocateInstalledFiles(program.App().session);
    program.ended = [] { QApplication::quit(); };
    if (!screenshots.isEmpty() || checkInstall) AnswerUnattended(program);
    program.Start();
    if (checkInstall) return CheckInstall(program, std::cout);
    if (files.size() == 2) {
        std::string problem;
        if (!program.LoadFiles(FromQt(files[0]), FromQt(files[1]), problem))
            std::cerr << "varigap: " << problem << "\n";
    }
    if (!screenshots.isEmpty()) {
        std::string problem;
        auto written = TakeScreenshots(program, FromQt(screenshots), problem);
        for (const auto& f : written) std::cout << f << "\n";
        if (!problem.empty()) std::cerr << "varigap: " << problem << "\n";
        return problem.empty() ? 0 : 1;
    }
    if (!program.App().Running()) return 0;
    return QApplication::exec();
}
