// controlsdemo: shows the progress bar with generated back and fore pictures at a given value.
#include "DemoWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("controlsdemo");

    QCommandLineParser parser;
    parser.setApplicationDescription("Shows the picture progress bar.");
    parser.addHelpOption();
    QCommandLineOption value("value", "Start value of the bars, 0 to 100 (default 37).", "n", "37");
    parser.addOption(value);
    parser.process(app);

    bool ok = false;
    int start = parser.value(value).toInt(&ok);
    if (!ok || start < 0 || start > 100) {
        std::fprintf(stderr, "controlsdemo: --value takes a whole number from 0 to 100\n");
        return 2;
    }
    DemoWindow window(start);
    window.move(0, 0);
    window.show();
    return app.exec();
}
