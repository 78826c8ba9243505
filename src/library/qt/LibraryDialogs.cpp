#include "library/qt/LibraryDialogs.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

const QString ZipFilter = QStringLiteral("存档备份 (*.zip)");

} // namespace

LibraryDialogs LibraryDialogs::desktop(QWidget* parent) {
    QPointer<QWidget> owner(parent);
    LibraryDialogs dialogs;
    dialogs.saveZip = [owner](const QString& suggested) {
        return QFileDialog::getSaveFileName(owner, QStringLiteral("备份存档"), suggested, ZipFilter);
    };
    dialogs.openZip = [owner](const QString& folder) {
        return QFileDialog::getOpenFileName(owner, QStringLiteral("恢复存档"), folder, ZipFilter);
    };
    dialogs.openMovies = [owner](const QString& folder) {
        return QFileDialog::getOpenFileNames(owner, QStringLiteral("打开本地游戏"), folder,
                                             QStringLiteral("Flash 游戏 (*.swf *.SWF);;所有文件 (*)"));
    };
    dialogs.confirmWithOption = [owner](const QString& question,
                                        const QString& option) -> std::optional<bool> {
        QMessageBox box(QMessageBox::Question, QStringLiteral("我的游戏"), question, QMessageBox::NoButton,
                        owner);
        QPushButton* yes = box.addButton(QStringLiteral("确定"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("取消"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        QCheckBox* tick = option.isEmpty() ? nullptr : new QCheckBox(option, &box);
        if (tick) box.setCheckBox(tick);
        box.exec();
        if (box.clickedButton() != static_cast<QAbstractButton*>(yes)) return std::nullopt;
        return tick && tick->isChecked();
    };
    dialogs.confirm = [ask = dialogs.confirmWithOption](const QString& question) {
        return ask(question, QString()).has_value();
    };
    dialogs.tell = [owner](const QString& message) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("我的游戏"), message, QMessageBox::NoButton,
                        owner);
        box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        box.exec();
    };
    return dialogs;
}
