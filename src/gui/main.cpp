// varigap: the desktop program.
//   varigap                                 starts with nothing loaded
//   varigap TEMPLATE_FILE SEQUENCE_FILE     also loads the two files through the file windows
#include <QApplication>
#include <QDir>
#include <QStringList>
#include <iostream>

#include "gui/fonts.h"
#include "gui/program.h"
#include "gui/screenshots.h"

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName("Varigap");
    QApplication::setOrganizationName("Varigap");  // where the settings (recent files) are kept

    QStringList args = QApplication::arguments();
    args.removeFirst();
    QString screenshots;  // an undocumented switch: pictures of the windows into a directory
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == "--screenshots" && i + 1 < args.size()) {
            screenshots = args[++i];
        } else if (args[i].startsWith("--")) {
            files.clear();
            break;
        } else {
            files << args[i];
        }
    }
    if ((files.size() != 0 && files.size() != 2) || (!args.isEmpty() && files.isEmpty() && screenshots.isEmpty())) {
        std::cerr << "Usage: varigap [TEMPLATE_FILE SEQUENCE_FILE]\n";
        return 2;
    }

    using namespace varigap::gui;
    // Settings and help files lie beside the program.
    Program program(FromQt(QApplication::applicationDirPath()), FromQt(QDir::currentPath()));
    program.ended = [] { QApplication::quit(); };
    if (!screenshots.isEmpty()) AnswerUnattended(program);
    program.Start();
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
