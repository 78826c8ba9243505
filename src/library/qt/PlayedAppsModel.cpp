#include "library/qt/PlayedAppsModel.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QUrl>
#include <algorithm>
#include <map>

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

// "今天 14:05", "昨天 20:11", or the date.
QString lastPlayedText(std::int64_t seconds) {
    if (seconds <= 0) return QStringLiteral("—");
    const QDateTime when = QDateTime::fromSecsSinceEpoch(seconds);
    const qint64 days = when.date().daysTo(QDate::currentDate());
    const QString time = when.toString(QStringLiteral("HH:mm"));
    if (days == 0) return QStringLiteral("今天 ") + time;
    if (days == 1) return QStringLiteral("昨天 ") + time;
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString playTimeText(std::int64_t seconds) {
    if (seconds <= 0) return QStringLiteral("—");
    if (seconds < 60) return QStringLiteral("%1 秒").arg(seconds);
    const std::int64_t minutes = seconds / 60;
    if (minutes < 60) return QStringLiteral("%1 分钟").arg(minutes);
    return QStringLiteral("%1 小时 %2 分").arg(minutes / 60).arg(minutes % 60);
}

// No saves, or no movie on disk: a dash rather than "0 字节".
QString sizeOrDash(std::uintmax_t bytes) {
    return bytes == 0 ? QStringLiteral("—") : PlayedAppsModel::sizeText(bytes);
}

} // namespace

QString PlayedAppsModel::sizeText(std::uintmax_t bytes) {
    if (bytes < 1024) return QStringLiteral("%1 字节").arg(bytes);
    const char* const units[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1024;
    int unit = 0;
    for (; value >= 1024 && unit < 3; ++unit)
        value /= 1024;
    return QStringLiteral("%1 %2").arg(value, 0, 'f', 1).arg(QLatin1String(units[unit]));
}

PlayedAppsModel::PlayedAppsModel(std::filesystem::path iconFolder, QObject* parent)
    : QAbstractTableModel(parent), iconFolder_(std::move(iconFolder)),
      collator_(QLocale(QLocale::Chinese, QLocale::China)) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(true);
}

void PlayedAppsModel::setRows(std::vector<Row> rows, Places places) {
    std::vector<std::string> before;
    if (places == Places::Keep)
        for (const int i : shown_)
            before.push_back(rows_[i].app.link);
    rows_ = std::move(rows);
    if (places == Places::Sort || before.empty()) {
        rebuild();
        return;
    }
    // The rows shown before stay where they were, in the order they had; new ones follow them in
    // the chosen order.
    std::vector<int> sorted = shownInOrder();
    std::map<std::string, int, std::less<>> sortedByLink;
    for (const int i : sorted)
        sortedByLink.emplace(rows_[i].app.link, i);
    std::vector<int> shown;
    for (const auto& link : before) {
        const auto it = sortedByLink.find(link);
        if (it == sortedByLink.end()) continue;
        shown.push_back(it->second);
        sortedByLink.erase(it);
    }
    for (const int i : sorted)
        if (sortedByLink.contains(rows_[i].app.link)) shown.push_back(i);
    if (shown.size() == before.size() &&
        std::equal(shown.begin(), shown.end(), before.begin(),
                   [this](int i, const std::string& link) { return rows_[i].app.link == link; })) {
        // The same rows in the same places: only their values change, the view keeps its state.
        shown_ = std::move(shown);
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    shown_ = std::move(shown);
    endResetModel();
}

void PlayedAppsModel::setOrder(Order order) {
    order_ = order;
    rebuild();
}

void PlayedAppsModel::setFilter(const QString& text) {
    filter_ = text.trimmed();
    rebuild();
}

void PlayedAppsModel::setFavouritesOnly(bool only) {
    favouritesOnly_ = only;
    rebuild();
}

void PlayedAppsModel::rebuild() {
    beginResetModel();
    shown_ = shownInOrder();
    endResetModel();
}

std::vector<int> PlayedAppsModel::shownInOrder() const {
    std::vector<int> shown;
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        const library::PlayedApp& app = rows_[i].app;
        if (favouritesOnly_ && !app.favourite) continue;
        if (!filter_.isEmpty() && !text(app.name).contains(filter_, Qt::CaseInsensitive)) continue;
        shown.push_back(i);
    }
    const auto byName = [this](int a, int b) {
        return collator_.compare(text(rows_[a].app.name), text(rows_[b].app.name)) < 0;
    };
    switch (order_) {
    case Order::LastPlayed:
        std::stable_sort(shown.begin(), shown.end(),
                         [this](int a, int b) { return rows_[a].app.lastPlayed > rows_[b].app.lastPlayed; });
        break;
    case Order::PlayTime:
        std::stable_sort(shown.begin(), shown.end(), [this, &byName](int a, int b) {
            if (rows_[a].app.seconds != rows_[b].app.seconds)
                return rows_[a].app.seconds > rows_[b].app.seconds;
            return byName(a, b);
        });
        break;
    case Order::Name:
        std::stable_sort(shown.begin(), shown.end(), byName);
        break;
    }
    return shown;
}

const PlayedAppsModel::Row* PlayedAppsModel::rowAt(int row) const {
    return row >= 0 && row < static_cast<int>(shown_.size()) ? &rows_[shown_[row]] : nullptr;
}

int PlayedAppsModel::rowOf(const std::string& link) const {
    for (int i = 0; i < static_cast<int>(shown_.size()); ++i) {
        if (rows_[shown_[i]].app.link == link) return i;
    }
    return -1;
}

int PlayedAppsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int PlayedAppsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PlayedAppsModel::data(const QModelIndex& index, int role) const {
    const Row* row = rowAt(index.row());
    if (!row) return {};
    const library::PlayedApp& app = row->app;
    // A movie file of the player's own plays from where it lies: its path tells it from the others.
    const QUrl link(text(app.link));
    const QString localPath = link.isLocalFile() ? link.toLocalFile() : QString();
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Star:
            return app.favourite ? QStringLiteral("★") : QStringLiteral("☆");
        case Name:
            return localPath.isEmpty() ? text(app.name)
                                       : QStringLiteral("%1  ·  %2").arg(text(app.name), localPath);
        case LastPlayed:
            return lastPlayedText(app.lastPlayed);
        case Plays:
            return QString::number(app.plays);
        case PlayTime:
            return playTimeText(app.seconds);
        case MovieSize:
            return !localPath.isEmpty() ? QStringLiteral("本地文件")
                   : app.isMovie        ? sizeOrDash(row->movieBytes)
                                        : QStringLiteral("网页应用");
        case SavesSize:
            return sizeOrDash(row->savesBytes);
        case Start:
            return QStringLiteral("▶ 开始");
        }
    }
    if (role == Qt::DecorationRole && index.column() == Name) {
        if (app.iconFile.empty()) return {};
        const QString file = text((iconFolder_ / app.iconFile).string());
        auto it = icons_.find(file);
        if (it == icons_.end()) it = icons_.insert(file, QIcon(file));
        return *it;
    }
    if (role == Qt::ToolTipRole) {
        if (index.column() == Star)
            return app.favourite ? QStringLiteral("取消收藏") : QStringLiteral("收藏");
        if (index.column() == Start) return QStringLiteral("开始游戏“%1”").arg(text(app.name));
        return localPath.isEmpty() ? text(app.name) : localPath;
    }
    if (role == Qt::ForegroundRole) {
        if (index.column() == Star) return QColor(app.favourite ? "#E0A100" : "#9AA5B4");
        if (index.column() == Start) return QColor("#1E5FBF");
    }
    if (role == Qt::FontRole && (index.column() == Star || index.column() == Start)) {
        QFont font;
        font.setBold(index.column() == Start);
        if (index.column() == Star) font.setPixelSize(18);
        return font;
    }
    if (role == Qt::TextAlignmentRole && index.column() != Name) return QVariant::fromValue(Qt::AlignCenter);
    return {};
}

QVariant PlayedAppsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case Star:
        return QStringLiteral("收藏");
    case Name:
        return QStringLiteral("游戏");
    case LastPlayed:
        return QStringLiteral("上次游戏");
    case Plays:
        return QStringLiteral("次数");
    case PlayTime:
        return QStringLiteral("总时长");
    case MovieSize:
        return QStringLiteral("游戏大小");
    case SavesSize:
        return QStringLiteral("存档大小");
    case Start:
        return QString();
    }
    return {};
}
