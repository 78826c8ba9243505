// controlsdemo: shows the progress bar with generated back and fore pictures at a given value, or
// following the download of a URL.
#include "DemoWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("controlsdemo");

    QCommandLineParser parser;
    parser.setApplicationDescription("Shows the picture progress bar.");
    parser.addHelpOption();
    QCommandLineOption value("value", "Start value of the bars, 0 to 100 (default 37).", "n", "37");
    parser.addOption(value);
    parser.addPositionalArgument("url", "A file to download; its progress drives the bars.", "[url");
    parser.addPositionalArgument(
        "folder", "Where to save it (default: controlsdemo in the temporary folder).", "[folder]]");
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
    const QStringList arguments = parser.positionalArguments();
    if (!arguments.isEmpty()) {
        QString folder = arguments.size() > 1 ? arguments[1] : QDir::temp().filePath("controlsdemo");
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "controlsdemo: cannot create %s\n", qPrintable(folder));
            return 1;
        }
        window.startDownload(arguments[0], folder);
    }
    return app.exec();
}
