#include "catalogue/qt/QtChinese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

bool QtChinese::install(QCoreApplication& app) {
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    // Numbers, dates and sizes in dialogs as a Chinese user reads them, whatever the system's locale.
    QLocale::setDefault(chinese);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool qt = false;
    // "qt" names Qt's catalogue of its modules (qtbase and the others); the web engine's is apart.
    for (const QString& name : {QStringLiteral("qt"), QStringLiteral("qtwebengine")}) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(chinese, name, QStringLiteral("_"), folder)) continue;
        translator->setParent(&app);
        QCoreApplication::installTranslator(translator.release());
        qt = qt || name == QStringLiteral("qt");
    }
    return qt;
}
