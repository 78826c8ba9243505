#include "catalogue/qt/SkinMenu.h"

#include "catalogue/PendingStart.h"
#include "catalogue/SkinMenuItems.h"
#include "catalogue/qt/MessageBoxHook.h"
#include "pages/FetchText.h"

#include <QCursor>
#include <QThread>

const QString SkinMenu::NotWrittenMessage = QStringLiteral("无法写入设置文件，皮肤没有更换。");
const QString SkinMenu::NotASkinMessage = QStringLiteral("这不是可用的皮肤（缺少 Skin.ini），皮肤没有更换。");

SkinMenu::SkinMenu(QWidget* window, SkinChange change, std::filesystem::path program)
    : QMenu(window), change_(std::move(change)), program_(std::move(program)), window_(window) {
    setObjectName(QStringLiteral("GameNameStr"));
}

SkinMenu::~SkinMenu() {
    if (!rebuild_) return;
    cancel_ = true;
    rebuild_->wait();
}

void SkinMenu::fill(const std::filesystem::path& skinFolder, const std::string& currentSkin) {
    clear();
    captions_.clear();
    const auto items = skinMenuItems(skinFolder, currentSkin);
    for (std::size_t i = 0; i < items.size(); ++i) {
        captions_.push_back(items[i].caption);
        // A single "&" would mark a shortcut letter instead of showing.
        QAction* item =
            addAction(QString::fromStdString(items[i].caption).replace('&', QStringLiteral("&&")));
        item->setObjectName(QStringLiteral("GameList%1").arg(i));
        item->setEnabled(items[i].enabled);
        item->setCheckable(items[i].checked);
        item->setChecked(items[i].checked);
        connect(item, &QAction::triggered, this, [this, i] { itemClicked(static_cast<int>(i)); });
    }
}

void SkinMenu::popupAtMouse() {
    popup(QCursor::pos());
}

void SkinMenu::itemClicked(int index) {
    // One change at a time: the first one restarts the program.
    if (rebuild_ || index <= 0 || index >= static_cast<int>(captions_.size())) return;
    const auto& caption = captions_[static_cast<std::size_t>(index)];
    const auto outcome = change_.apply(caption);
    switch (outcome.result) {
    case SkinChange::Result::SameSkin:
        return;
    case SkinChange::Result::SettingsNotWritten:
        catalogue::showMessageBox(window_, NotWrittenMessage);
        return;
    case SkinChange::Result::NotASkin:
        catalogue::showMessageBox(window_, NotASkinMessage);
        return;
    case SkinChange::Result::Changed:
        break;
    }
    const QString skinName = QString::fromStdString(caption);
    if (!outcome.pageColourChanged) return restart(skinName);
    emit pageCacheRefreshing();
    rebuild_ = QThread::create([this, colour = outcome.webBackColor] {
        setFetchCancelFlag(&cancel_);
        change_.refreshPageCache(colour);
        setFetchCancelFlag(nullptr);
    });
    rebuild_->setParent(this);
    connect(rebuild_, &QThread::finished, this, [this, skinName] { restart(skinName); });
    rebuild_->start();
}

void SkinMenu::restart(const QString& skinName) {
    PendingStart::set(program_);
    emit restartRequested(skinName);
    if (window_) window_->close();
}
