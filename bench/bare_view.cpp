// The floor the program's start-up is measured against: the same browser
// engine with nothing of ours, one view loading one local page, in a process
// of its own.
//
//   bare_view PAGE.html
//
// Prints the same launch marks as the program under measurement (see
// LaunchMarks.h). The view has the size of the program's browser.
#include "LaunchMarks.h"

#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bare_view PAGE.html\n");
        return 2;
    }
    tarvelo::LaunchMarks marks;
    QWebEngineView view;
    view.resize(921, 455);
    marks.watch(&view);
    // load, then show: the order the program's start-up has too
    view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    view.show();
    return app.exec();
}
