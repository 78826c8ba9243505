#include "catalogue/qt/UpdateCheck.h"

#include "catalogue/PendingStart.h"
#include "catalogue/UpdateVersion.h"
#include "catalogue/qt/CatalogueLog.h"
#include "catalogue/qt/MessageBoxHook.h"
#include "controls/qt/bkDLControlWidget.h"

#include <QWidget>
#include <system_error>

namespace fs = std::filesystem;

const QString UpdateCheck::FoundMessage = QStringLiteral("发现新版，现在更新，请请稍后...");
const QString UpdateCheck::DoneMessage = QStringLiteral("更新完成！");
const QString UpdateCheck::UnverifiedMessage =
    QStringLiteral("新版文件未能通过签名验证，已删除，这次不更新。");
const QString UpdateCheck::SystemUpdateMessage =
    QStringLiteral("Brindle 有新版本了，请通过系统的软件更新来更新。");

UpdateCheck::UpdateCheck(bkDLControlWidget* UpDateDown, bkDLControlWidget* DownFtp, base::Folders folders,
                         UpdateSignature checker, QWidget* window)
    : QObject(window), UpDateDown_(UpDateDown), DownFtp_(DownFtp), folders_(std::move(folders)),
      flow_(std::move(checker), catalogue::ownVersionText()), window_(window) {
    connect(UpDateDown, &bkDLControlWidget::DLComplete, this, &UpdateCheck::pageArrived);
    connect(DownFtp, &bkDLControlWidget::DLComplete, this, &UpdateCheck::fileArrived);
    for (bkDLControlWidget* download : {UpDateDown, DownFtp}) {
        connect(download, &bkDLControlWidget::DLError, this,
                [this](int, const QString& message) { downloadError_ = message; });
    }
}

void UpdateCheck::end(const QString& outcome) {
    const QString line = downloadError_.isEmpty() ? outcome : outcome + " (" + downloadError_ + ")";
    downloadError_.clear();
    qCInfo(catalogueLog, "update check ended: %s", line.toUtf8().constData());
    emit ended(line);
}

void UpdateCheck::pageArrived(int bytes) {
    const auto ftp = flow_.pageArrived(bytes, UpDateDown_->SaveFileName().toStdString());
    if (!ftp) return end(QString::fromStdString(flow_.pageOutcome()));
    if (!folders_.beside()) {
        if (flow_.firstNoticeOf(folders_.data / "UpdateNoticed"))
            catalogue::showMessageBox(window_, SystemUpdateMessage);
        return end("update left to the system's software updates");
    }
    catalogue::showMessageBox(window_, FoundMessage);
    // Unverified bytes land in a folder of their own, never over one of the program's files.
    const auto folder = UpdateFlow::downloadFolder(folders_.data);
    std::error_code ec;
    fs::create_directory(folder, ec);
    DownFtp_->setFileURL(QString::fromStdString(*ftp));
    DownFtp_->control().setSaveAs(UpdateFlow::fileNameFor(*ftp));
    DownFtp_->setSaveFilePath(QString::fromStdString((folder / "").string()));
    DownFtp_->BeginDownload();
}

void UpdateCheck::fileArrived(int bytes) {
    const fs::path file = DownFtp_->SaveFileName().toStdString();
    std::error_code ec;
    switch (flow_.fileArrived(bytes, file)) {
    case UpdateFlow::HandOver::Ignore:
        // The download folder goes when nothing else is in it.
        fs::remove(UpdateFlow::downloadFolder(folders_.data), ec);
        return end("update offered, its file did not arrive");
    case UpdateFlow::HandOver::Rejected: {
        fs::remove(UpdateFlow::downloadFolder(folders_.data), ec);
        catalogue::showMessageBox(window_, UnverifiedMessage);
        emit rejected();
        return end("update offered, its file was not the maker's and was deleted");
    }
    case UpdateFlow::HandOver::Verified:
        catalogue::showMessageBox(window_, DoneMessage);
        PendingStart::set(file);
        emit handedOver(QString::fromStdString(file.string()));
        end("update offered, the new version starts once Brindle has ended");
        if (window_) window_->close();
        return;
    }
}
