#pragma once
// The rows of the 我的游戏 list: the played apps with the sizes of their files on disk, in the
// chosen order, those whose name holds the filter text (any case, Chinese included), and only the
// starred ones when asked. Icons are read from Icons/ when a row is first drawn, so that a list of
// hundreds of apps shows at once.

#include "library/PlayedApp.h"

#include <QAbstractTableModel>
#include <QCollator>
#include <QHash>
#include <QIcon>
#include <cstdint>
#include <filesystem>
#include <vector>

class PlayedAppsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Star, Name, LastPlayed, Plays, PlayTime, MovieSize, SavesSize, Start, ColumnCount };
    enum class Order { LastPlayed, PlayTime, Name };

    struct Row {
        library::PlayedApp app;
        std::uintmax_t movieBytes = 0;
        std::uintmax_t savesBytes = 0;
    };

    explicit PlayedAppsModel(std::filesystem::path iconFolder, QObject* parent = nullptr);

    // "512 字节", "4.7 KB", "1.2 MB".
    static QString sizeText(std::uintmax_t bytes);

    // Sort: the rows in the chosen order. Keep: rows shown before stay in their places (the list
    // does not move under the pointer when a play is counted); new rows follow them.
    enum class Places { Sort, Keep };
    void setRows(std::vector<Row> rows, Places places = Places::Sort);
    void setOrder(Order order);
    void setFilter(const QString& text);
    void setFavouritesOnly(bool only);
    Order order() const { return order_; }

    // The app of a shown row; null outside the list.
    const Row* rowAt(int row) const;
    // The shown row of link; -1 when it is not shown.
    int rowOf(const std::string& link) const;
    // Every app, shown or not.
    const std::vector<Row>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    void rebuild();
    // The indexes of the rows that pass the filter, in the chosen order.
    std::vector<int> shownInOrder() const;

    std::filesystem::path iconFolder_;
    std::vector<Row> rows_;
    std::vector<int> shown_; // indexes into rows_
    Order order_ = Order::LastPlayed;
    QString filter_;
    bool favouritesOnly_ = false;
    QCollator collator_;
    mutable QHash<QString, QIcon> icons_;
};
