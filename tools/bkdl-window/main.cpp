// bkdl-window [URL] [FOLDER]: a small window with the download control, fields for the URL and the
// folder, Start and Cancel buttons, the redirect switches and a log of every event.

#include "controls/qt/bkDLControlWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    auto args = app.arguments();

    QWidget window;
    window.setWindowTitle("bkDLControl");
    auto* url = new QLineEdit(args.value(1), &window);
    auto* folder = new QLineEdit(args.value(2, QDir::currentPath()), &window);
    auto* failOnRedirect = new QCheckBox("FailOnRedirect", &window);
    auto* renameOnRedirect = new QCheckBox("RenameOnRedirect", &window);
    failOnRedirect->setChecked(true);
    renameOnRedirect->setChecked(true);
    auto* start = new QPushButton("BeginDownload", &window);
    auto* cancel = new QPushButton("CancelDownload", &window);
    auto* control = new bkDLControlWidget(&window);
    control->setFixedHeight(22);
    auto* log = new QPlainTextEdit(&window);
    log->setReadOnly(true);

    auto* form = new QFormLayout;
    form->addRow("FileURL", url);
    form->addRow("SaveFilePath", folder);
    auto* switches = new QHBoxLayout;
    switches->addWidget(failOnRedirect);
    switches->addWidget(renameOnRedirect);
    switches->addStretch();
    switches->addWidget(start);
    switches->addWidget(cancel);
    auto* layout = new QVBoxLayout(&window);
    layout->addLayout(form);
    layout->addLayout(switches);
    layout->addWidget(control);
    layout->addWidget(log);

    auto say = [log](const QString& line) { log->appendPlainText(line); };
    QObject::connect(start, &QPushButton::clicked, [=] {
        control->setFileURL(url->text());
        control->setSaveFilePath(folder->text());
        control->setFailOnRedirect(failOnRedirect->isChecked());
        control->setRenameOnRedirect(renameOnRedirect->isChecked());
        bool started = control->BeginDownload();
        say(QString("BeginDownload %1  SaveFileName %2")
                .arg(started ? "true" : "false", control->SaveFileName()));
    });
    QObject::connect(cancel, &QPushButton::clicked, control, &bkDLControlWidget::CancelDownload);
    QObject::connect(control, &bkDLControlWidget::DLProgress, [=](float percent, int bytes, int total) {
        say(QString("DLProgress %1 %2 %3").arg(percent).arg(bytes).arg(total));
    });
    QObject::connect(control, &bkDLControlWidget::DLCanceled, [=] { say("DLCanceled"); });
    QObject::connect(control, &bkDLControlWidget::DLError, [=](int error, const QString& message) {
        say(QString("DLError %1 %2").arg(error).arg(message));
    });
    QObject::connect(control, &bkDLControlWidget::DLComplete,
                     [=](int bytes) { say(QString("DLComplete %1").arg(bytes)); });
    QObject::connect(control, &bkDLControlWidget::DLConnected,
                     [=](const QString& a) { say("DLConnected " + a); });
    QObject::connect(control, &bkDLControlWidget::DLRedirect,
                     [=](const QString& a) { say("DLRedirect " + a); });
    QObject::connect(control, &bkDLControlWidget::DLCacheFile,
                     [=](const QString& a) { say("DLCacheFile " + a); });
    QObject::connect(control, &bkDLControlWidget::DLMIMEType,
                     [=](const QString& a) { say("DLMIMEType " + a); });
    QObject::connect(control, &bkDLControlWidget::DLFileSize,
                     [=](int total) { say(QString("DLFileSize %1").arg(total)); });
    QObject::connect(control, &bkDLControlWidget::DLBeginDownload, [=] { say("DLBeginDownload"); });

    window.resize(560, 320);
    window.show();
    if (!url->text().isEmpty()) start->click();
    return app.exec();
}
