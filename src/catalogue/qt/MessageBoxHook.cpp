#include "catalogue/qt/MessageBoxHook.h"

#include <QMessageBox>

namespace catalogue {

namespace {

std::function<void(const QString&)>& messageBoxHook() {
    static std::function<void(const QString&)> hook;
    return hook;
}

} // namespace

void showMessageBox(QWidget* parent, const QString& text) {
    if (const auto hook = messageBoxHook()) return hook(text);
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}

void setMessageBoxHook(std::function<void(const QString&)> hook) {
    messageBoxHook() = std::move(hook);
}

} // namespace catalogue
