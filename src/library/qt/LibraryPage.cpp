#include "library/qt/LibraryPage.h"

#include "library/GameFiles.h"
#include "library/SaveArchive.h"
#include "library/qt/LibraryLog.h"
#include "library/qt/PlayedAppsModel.h"
#include "viewer/qt/FlashPayFrm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTreeView>
#include <QVBoxLayout>

namespace fs = std::filesystem;
using library::GameFiles;
using library::SaveArchive;

namespace {

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

// A file name made of an app's name: characters that file systems refuse become "_".
QString fileNamePart(QString name) {
    static const QString refused = QStringLiteral("/\\\\:*?\"<>|");
    for (QChar& c : name) {
        if (refused.contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
    }
    return name.trimmed().isEmpty() ? QStringLiteral("游戏") : name.trimmed();
}

QString withZipSuffix(QString file) {
    if (!file.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive)) file += QStringLiteral(".zip");
    return file;
}

// Whether an open viewer of this program plays a movie whose saves are in Saves/<movie>/.
bool viewerPlays(const std::string& movie) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* viewer = qobject_cast<FlashPayFrm*>(window);
        if (!viewer || !viewer->app().IsWidgetApp) continue;
        if (GameFiles::savesNameOf(viewer->movieFile()) == movie) return true;
    }
    return false;
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

} // namespace

LibraryPage::LibraryPage(fs::path appFolder, LibraryService& library, const QColor& pageColour,
                         QWidget* parent)
    : QWidget(parent), appFolder_(std::move(appFolder)), library_(library),
      dialogs_(LibraryDialogs::desktop(this)), inUse_(viewerPlays) {
    setObjectName(QStringLiteral("LibraryPage"));
    buildControls();
    styleControls(pageColour.isValid() ? pageColour : QColor(Qt::white));
}

void LibraryPage::buildControls() {
    model_ = new PlayedAppsModel(appFolder_ / "Icons", this);

    auto* title = new QLabel(QStringLiteral("我的游戏"), this);
    title->setObjectName(QStringLiteral("LibraryTitle"));
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("LibraryFilter"));
    filter_->setPlaceholderText(QStringLiteral("按名称筛选"));
    filter_->setClearButtonEnabled(true);
    filter_->setFixedWidth(180);
    order_ = new QComboBox(this);
    order_->setObjectName(QStringLiteral("LibraryOrder"));
    order_->addItems({QStringLiteral("按最近游戏"), QStringLiteral("按游戏时长"), QStringLiteral("按名称")});
    favouritesOnly_ = new QCheckBox(QStringLiteral("仅显示收藏"), this);
    favouritesOnly_->setObjectName(QStringLiteral("LibraryFavourites"));
    usage_ = new QLabel(this);
    usage_->setObjectName(QStringLiteral("LibraryUsage"));

    auto* top = new QHBoxLayout;
    top->addWidget(title);
    top->addSpacing(16);
    top->addWidget(filter_);
    top->addWidget(order_);
    top->addWidget(favouritesOnly_);
    top->addStretch();
    top->addWidget(usage_);

    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("LibraryList"));
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setIconSize(QSize(32, 32));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = list_->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(PlayedAppsModel::Name, QHeaderView::Stretch);
    const int widths[PlayedAppsModel::ColumnCount] = {44, 0, 130, 50, 100, 80, 80, 70};
    for (int column = 0; column < PlayedAppsModel::ColumnCount; ++column) {
        if (widths[column] > 0) list_->setColumnWidth(column, widths[column]);
    }
    empty_ = new QLabel(QStringLiteral("还没有玩过的游戏。\n在商店里打开一个游戏，它就会出现在这里。"), this);
    empty_->setObjectName(QStringLiteral("LibraryEmpty"));
    empty_->setAlignment(Qt::AlignCenter);
    unreadable_ = new QWidget(this);
    unreadable_->setObjectName(QStringLiteral("LibraryUnreadable"));
    auto* unreadableTitle = new QLabel(QStringLiteral("暂时读不到游戏记录"), unreadable_);
    unreadableTitle->setObjectName(QStringLiteral("LibraryUnreadableTitle"));
    unreadableTitle->setAlignment(Qt::AlignCenter);
    unreadableText_ = new QLabel(unreadable_);
    unreadableText_->setAlignment(Qt::AlignCenter);
    unreadableText_->setWordWrap(true);
    auto* retry = button(QStringLiteral("重试"), "RetryButton", unreadable_);
    auto* unreadableLayout = new QVBoxLayout(unreadable_);
    unreadableLayout->addStretch();
    unreadableLayout->addWidget(unreadableTitle);
    unreadableLayout->addWidget(unreadableText_);
    unreadableLayout->addWidget(retry, 0, Qt::AlignHCenter);
    unreadableLayout->addStretch();
    stack_ = new QStackedWidget(this);
    stack_->addWidget(list_);
    stack_->addWidget(empty_);
    stack_->addWidget(unreadable_);
    working_ = new QLabel(this);
    working_->setObjectName(QStringLiteral("LibraryWorking"));

    play_ = button(QStringLiteral("开始游戏"), "PlayButton", this);
    favourite_ = button(QStringLiteral("收藏"), "FavouriteButton", this);
    backUp_ = button(QStringLiteral("备份存档"), "BackUpButton", this);
    restore_ = button(QStringLiteral("恢复存档"), "RestoreButton", this);
    deleteSaves_ = button(QStringLiteral("删除存档"), "DeleteSavesButton", this);
    remove_ = button(QStringLiteral("删除游戏"), "RemoveButton", this);
    backUpAll_ = button(QStringLiteral("备份全部存档"), "BackUpAllButton", this);
    restoreAll_ = button(QStringLiteral("恢复全部存档"), "RestoreAllButton", this);
    openFiles_ = button(QStringLiteral("打开本地游戏…"), "OpenFilesButton", this);
    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {play_, favourite_, backUp_, restore_, deleteSaves_, remove_})
        bottom->addWidget(b);
    bottom->addStretch();
    bottom->addWidget(working_);
    bottom->addWidget(backUpAll_);
    bottom->addWidget(restoreAll_);
    bottom->addWidget(openFiles_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(8);
    layout->addLayout(top);
    layout->addWidget(stack_, 1);
    layout->addLayout(bottom);

    connect(filter_, &QLineEdit::textChanged, this,
            [this](const QString& text) { keepChoice([&] { model_->setFilter(text); }); });
    connect(order_, &QComboBox::currentIndexChanged, this, [this](int index) {
        keepChoice([&] { model_->setOrder(static_cast<PlayedAppsModel::Order>(index)); });
    });
    connect(favouritesOnly_, &QCheckBox::toggled, this,
            [this](bool only) { keepChoice([&] { model_->setFavouritesOnly(only); }); });
    connect(list_, &QTreeView::clicked, this, &LibraryPage::cellClicked);
    connect(list_, &QTreeView::activated, this, [this](const QModelIndex& index) {
        if (index.column() != PlayedAppsModel::Star && index.column() != PlayedAppsModel::Start) playChosen();
    });
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, &LibraryPage::updateButtons);
    connect(model_, &QAbstractItemModel::modelReset, this, &LibraryPage::updateButtons);
    connect(play_, &QPushButton::clicked, this, &LibraryPage::playChosen);
    connect(favourite_, &QPushButton::clicked, this, &LibraryPage::toggleFavouriteChosen);
    connect(backUp_, &QPushButton::clicked, this, &LibraryPage::backUpChosen);
    connect(restore_, &QPushButton::clicked, this, &LibraryPage::restoreChosen);
    connect(deleteSaves_, &QPushButton::clicked, this, &LibraryPage::deleteSavesChosen);
    connect(remove_, &QPushButton::clicked, this, &LibraryPage::removeChosen);
    connect(backUpAll_, &QPushButton::clicked, this, &LibraryPage::backUpAll);
    connect(restoreAll_, &QPushButton::clicked, this, &LibraryPage::restoreAll);
    connect(openFiles_, &QPushButton::clicked, this, &LibraryPage::openLocalGames);
    connect(retry, &QPushButton::clicked, this, [this] { refresh(); });
}

// The catalogue's page colour for the page, a darker shade of it for borders and the list's header.
void LibraryPage::styleControls(const QColor& pageColour) {
    const QString page = pageColour.name();
    const QString border = pageColour.darker(135).name();
    const QString header = pageColour.darker(108).name();
    const QString hover = pageColour.lighter(104).name();
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(R"(
        QWidget#LibraryPage { background: %1; }
        QLabel#LibraryTitle { font-size: 16px; font-weight: bold; color: #2B2F36; }
        QLabel#LibraryUsage, QLabel#LibraryEmpty, QLabel#LibraryWorking { color: #555B66; }
        QLabel#LibraryEmpty { font-size: 14px; background: white; border: 1px solid %2; }
        QWidget#LibraryUnreadable { background: white; border: 1px solid %2; }
        QWidget#LibraryUnreadable QLabel { font-size: 14px; color: #2B2F36; border: none; }
        QLabel#LibraryUnreadableTitle { font-size: 16px; font-weight: bold; }
        QTreeView { background: white; border: 1px solid %2; alternate-background-color: %4; }
        QTreeView::item { height: 38px; }
        QHeaderView::section { background: %3; border: none; border-right: 1px solid %2;
                               border-bottom: 1px solid %2; padding: 4px; color: #2B2F36; }
        QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 %3);
                      border: 1px solid %2; border-radius: 4px; padding: 4px 12px; color: #2B2F36; }
        QPushButton:hover { background: %4; }
        QPushButton:pressed { background: %3; }
        QPushButton:disabled { color: #A0A6AF; }
        QLineEdit, QComboBox { background: white; border: 1px solid %2; border-radius: 4px; padding: 3px 6px;
                               color: #2B2F36; }
        QComboBox QAbstractItemView { background: white; color: #2B2F36; border: 1px solid %2;
                                      selection-background-color: %3; selection-color: #2B2F36; }
    )")
                      .arg(page, border, header, hover));
    list_->setAlternatingRowColors(true);
}

void LibraryPage::refresh(PlayedAppsModel::Places places) {
    const int read = ++reads_;
    auto job = [files = GameFiles(appFolder_)](library::PlayLibrary* library) {
        Snapshot snapshot;
        snapshot.usage = files.usage();
        if (!library) return snapshot;
        snapshot.rows.emplace();
        for (library::PlayedApp& app : library->list()) {
            PlayedAppsModel::Row row{std::move(app)};
            if (row.app.isMovie) {
                row.movieBytes = snapshot.usage->movieBytes(row.app.movieFile);
                row.savesBytes = snapshot.usage->savesBytes(row.app.movieFile);
            }
            snapshot.rows->push_back(std::move(row));
        }
        return snapshot;
    };
    library_.run(std::move(job), this,
                 [this, read, places](Snapshot snapshot, const LibraryService::Problem& problem) {
                     // An older read that ends after a newer one is not shown.
                     if (read < shownRead_) return;
                     shownRead_ = read;
                     showSnapshot(std::move(snapshot), problem, places);
                 });
}

void LibraryPage::showSnapshot(Snapshot snapshot, const LibraryService::Problem& problem,
                               PlayedAppsModel::Places places) {
    if (snapshot.usage)
        usage_->setText(QStringLiteral("游戏占用 %1 · 存档占用 %2")
                            .arg(PlayedAppsModel::sizeText(snapshot.usage->game),
                                 PlayedAppsModel::sizeText(snapshot.usage->allSaves)));
    if (!snapshot.rows) {
        // The heading says what; the text why, and that nothing is lost.
        const QString why =
            problem ? text(problem->why) : QStringLiteral("另一个程序可能正在使用 Library.db。");
        unreadableText_->setText(why + QStringLiteral("\n你的游戏记录没有丢失，问题解决后点“重试”即可。"));
        qCWarning(libraryLog, "The play library cannot be read now: %s", qPrintable(why));
        stack_->setCurrentWidget(unreadable_);
        updateButtons();
        emit refreshed();
        return;
    }
    keepChoice([&] { model_->setRows(std::move(*snapshot.rows), places); });
    stack_->setCurrentWidget(model_->rows().empty() ? static_cast<QWidget*>(empty_) : list_);
    emit refreshed();
}

bool LibraryPage::unreadable() const {
    return stack_->currentWidget() == unreadable_;
}

void LibraryPage::setWorking(const QString& what) {
    working_->setText(what);
    updateButtons();
}

std::map<std::string, std::string> LibraryPage::gameNames() const {
    std::map<std::string, std::string> names;
    for (const PlayedAppsModel::Row& row : model_->rows()) {
        if (const auto movie = GameFiles::savesNameOf(row.app.movieFile); movie && row.app.isMovie)
            names.emplace(*movie, row.app.name);
    }
    return names;
}

const PlayedAppsModel::Row* LibraryPage::chosenRow() const {
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? model_->rowAt(current.row()) : nullptr;
}

void LibraryPage::keepChoice(const std::function<void()>& change) {
    const PlayedAppsModel::Row* row = chosenRow();
    const std::string chosen = row ? row->app.link : std::string();
    change();
    if (!choose(chosen)) choose(model_->rowCount() > 0 ? model_->rowAt(0)->app.link : std::string());
}

bool LibraryPage::choose(const std::string& link) {
    const int row = link.empty() ? -1 : model_->rowOf(link);
    if (row < 0) {
        list_->setCurrentIndex({});
        updateButtons();
        return false;
    }
    list_->setCurrentIndex(model_->index(row, PlayedAppsModel::Name));
    updateButtons();
    return true;
}

void LibraryPage::updateButtons() {
    const PlayedAppsModel::Row* row = stack_ && stack_->currentWidget() == list_ ? chosenRow() : nullptr;
    const bool movie = row && row->app.isMovie;
    // One zip at a time, and no deletion while one is written or read.
    const bool free = working_->text().isEmpty();
    play_->setEnabled(row);
    favourite_->setEnabled(row);
    favourite_->setText(row && row->app.favourite ? QStringLiteral("取消收藏") : QStringLiteral("收藏"));
    backUp_->setEnabled(free && movie && row->savesBytes > 0);
    deleteSaves_->setEnabled(free && movie && row->savesBytes > 0);
    restore_->setEnabled(free && movie);
    remove_->setEnabled(free && row);
    backUpAll_->setEnabled(free);
    restoreAll_->setEnabled(free);
}

void LibraryPage::cellClicked(const QModelIndex& index) {
    if (index.column() == PlayedAppsModel::Star) toggleFavouriteChosen();
    if (index.column() == PlayedAppsModel::Start) playChosen();
}

std::string LibraryPage::chosenMovie() const {
    const PlayedAppsModel::Row* row = chosenRow();
    if (!row || !row->app.isMovie) return {};
    return GameFiles::savesNameOf(row->app.movieFile).value_or(std::string());
}

bool LibraryPage::refusedInUse(const std::string& movie, const QString& name) {
    if (!inUse_ || !inUse_(movie)) return false;
    dialogs_.tell(QStringLiteral("“%1”正在运行。请先关闭它的窗口，再来处理它的存档。").arg(name));
    return true;
}

QString LibraryPage::zipFolder() const {
    if (!lastZipFolder_.isEmpty()) return lastZipFolder_;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

void LibraryPage::rememberZipFolder(const QString& zipFile) {
    lastZipFolder_ = QFileInfo(zipFile).absolutePath();
}

void LibraryPage::openLocalGames() {
    const QStringList files =
        dialogs_.openMovies(lastMovieFolder_.isEmpty() ? QDir::homePath() : lastMovieFolder_);
    if (files.isEmpty()) return;
    lastMovieFolder_ = QFileInfo(files.front()).absolutePath();
    emit filesChosen(files);
}

void LibraryPage::playChosen() {
    if (const PlayedAppsModel::Row* row = chosenRow()) emit playRequested(text(row->app.link));
}

void LibraryPage::toggleFavouriteChosen() {
    const PlayedAppsModel::Row* row = chosenRow();
    if (!row) return;
    const bool favourite = !row->app.favourite;
    const QString name = text(row->app.name);
    ++jobs_;
    library_.run(
        [link = row->app.link, favourite](library::PlayLibrary* library) {
            return library && library->setFavourite(link, favourite);
        },
        this,
        [this, name, favourite](bool done, const LibraryService::Problem& problem) {
            --jobs_;
            // Read anew, so that the star shows what the library holds.
            refresh(PlayedAppsModel::Places::Keep);
            if (done) return;
            qCWarning(libraryLog, "Could not %s %s in the play library", favourite ? "star" : "unstar",
                      qPrintable(name));
            const QString why = !problem        ? QStringLiteral("它已不在游戏记录里。")
                                : problem->busy ? text(problem->why) + QStringLiteral("请稍后再试。")
                                                : text(problem->why);
            dialogs_.tell(QStringLiteral("没能%1“%2”：")
                              .arg(favourite ? QStringLiteral("收藏") : QStringLiteral("取消收藏"), name) +
                          why);
        });
}

void LibraryPage::backUpChosen() {
    const std::string movie = chosenMovie();
    if (movie.empty()) return;
    const QString name = text(chosenRow()->app.name);
    const QString suggested =
        QDir(zipFolder())
            .filePath(
                QStringLiteral("%1-存档-%2.zip")
                    .arg(fileNamePart(name), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    const QString file = dialogs_.saveZip(suggested);
    if (file.isEmpty()) return;
    const QString zip = withZipSuffix(file);
    rememberZipFolder(zip);
    backUp(zip, {movie});
}

void LibraryPage::backUpAll() {
    const QString suggested =
        QDir(zipFolder())
            .filePath(QStringLiteral("全部存档-%1.zip")
                          .arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    const QString file = dialogs_.saveZip(suggested);
    if (file.isEmpty()) return;
    const QString zip = withZipSuffix(file);
    rememberZipFolder(zip);
    backUp(zip, {});
}

void LibraryPage::backUp(const QString& zip, std::vector<std::string> movies) {
    setWorking(QStringLiteral("正在备份存档…"));
    auto result = std::make_shared<SaveArchive::Result>();
    zips_.start([result, zip = zip.toStdString(), saves = GameFiles(appFolder_).savesFolder(),
                 movies] { *result = SaveArchive::backup(zip, saves, movies); },
                [this, result] {
                    setWorking({});
                    dialogs_.tell(text(result->message));
                });
}

void LibraryPage::restoreChosen() {
    const std::string movie = chosenMovie();
    if (movie.empty()) return;
    if (refusedInUse(movie, text(chosenRow()->app.name))) return;
    const QString zip = dialogs_.openZip(zipFolder());
    if (zip.isEmpty()) return;
    rememberZipFolder(zip);
    restore(zip, movie);
}

void LibraryPage::restoreAll() {
    const QString zip = dialogs_.openZip(zipFolder());
    if (zip.isEmpty()) return;
    rememberZipFolder(zip);
    restore(zip, std::nullopt);
}

// The zip is checked first, so that a zip that is no backup is said before the player is asked to
// give up the saves of now.
void LibraryPage::restore(const QString& zip, std::optional<std::string> onlyMovie) {
    setWorking(QStringLiteral("正在检查备份…"));
    SaveArchive::RestoreOptions options;
    options.onlyMovie = onlyMovie;
    options.nameOf = [names = gameNames()](const std::string& movie) {
        const auto it = names.find(movie);
        return it == names.end() ? std::string() : it->second;
    };
    struct Checked {
        SaveArchive::Result result;
        bool savesExist = false; // saves the restore would replace
    };
    auto checked = std::make_shared<Checked>();
    zips_.start(
        [checked, options, zip = zip.toStdString(), files = GameFiles(appFolder_)] {
            checked->result = SaveArchive::check(zip, options);
            // Asked from the disk: the game may have saved since the list was read.
            for (const auto& movie : checked->result.movies)
                checked->savesExist =
                    checked->savesExist || GameFiles::folderBytes(files.savesFolder() / movie) > 0;
        },
        [this, checked, options, zip] {
            setWorking({});
            if (!checked->result.ok()) {
                dialogs_.tell(text(checked->result.message));
                return;
            }
            restoreChecked(zip, checked->result, checked->savesExist, options);
        });
}

void LibraryPage::restoreChecked(const QString& zip, const SaveArchive::Result& check, bool savesExist,
                                 SaveArchive::RestoreOptions options) {
    // Which of the zip's games play now, asked here, where the viewers are.
    std::set<std::string> playing;
    for (const auto& movie : check.movies)
        if (inUse_ && inUse_(movie)) playing.insert(movie);
    for (const auto& movie : playing) {
        const std::string name = options.nameOf(movie);
        if (refusedInUse(movie, text(name.empty() ? movie : name))) return;
    }
    const QString question =
        options.onlyMovie
            ? QStringLiteral("恢复会用备份中的存档替换“%1”现在的存档，现在的进度将会丢失。\n要继续吗？")
                  .arg(text(options.nameOf(*options.onlyMovie).empty() ? *options.onlyMovie
                                                                       : options.nameOf(*options.onlyMovie)))
            : QStringLiteral("恢复会用备份中的存档替换这些游戏现在的存档，现在的进度将会丢失。\n"
                             "备份中没有的游戏，存档保持不变。要继续吗？");
    if (savesExist && !dialogs_.confirm(question)) return;
    setWorking(QStringLiteral("正在恢复存档…"));
    options.inUse = [playing](const std::string& movie) { return playing.contains(movie); };
    auto result = std::make_shared<SaveArchive::Result>();
    zips_.start(
        [result, options, zip = zip.toStdString(), saves = GameFiles(appFolder_).savesFolder()] {
            *result = SaveArchive::restore(zip, saves, options);
        },
        [this, result] {
            setWorking({});
            refresh(PlayedAppsModel::Places::Keep);
            dialogs_.tell(text(result->message));
        });
}

void LibraryPage::deleteSavesChosen() {
    const std::string movie = chosenMovie();
    if (movie.empty()) return;
    const PlayedAppsModel::Row row = *chosenRow();
    const QString name = text(row.app.name);
    if (refusedInUse(movie, name)) return;
    if (!dialogs_.confirm(
            QStringLiteral("删除“%1”的全部存档？\n游戏将从头开始，删除后无法找回（除非你有备份）。")
                .arg(name)))
        return;
    ++jobs_;
    library_.run(
        [files = GameFiles(appFolder_), movieFile = row.app.movieFile](library::PlayLibrary*) {
            return files.deleteSaves(movieFile);
        },
        this,
        [this, name](bool deleted) {
            --jobs_;
            refresh(PlayedAppsModel::Places::Keep);
            if (!deleted)
                dialogs_.tell(QStringLiteral("无法删除“%1”的存档，请检查存档文件夹的权限。").arg(name));
        });
}

void LibraryPage::removeChosen() {
    if (!chosenRow()) return;
    const PlayedAppsModel::Row row = *chosenRow();
    const QString name = text(row.app.name);
    const std::string movie = chosenMovie();
    if (!movie.empty() && refusedInUse(movie, name)) return;
    const QString question =
        row.app.isMovie
            ? QStringLiteral("从我的游戏中删除“%1”？\n它的游戏文件将被删除，存档会保留。").arg(name)
            : QStringLiteral("从我的游戏中删除“%1”？").arg(name);
    const auto answer = dialogs_.confirmWithOption(
        question, row.savesBytes > 0 ? QStringLiteral("同时删除它的存档") : QString());
    if (!answer) return;
    ++jobs_;
    auto job = [files = GameFiles(appFolder_), app = row.app,
                withSaves = *answer](library::PlayLibrary* library) {
        bool done = true;
        if (app.isMovie) done = files.deleteMovie(app.movieFile);
        if (done && withSaves) done = files.deleteSaves(app.movieFile);
        return done && library && library->remove(app.link);
    };
    library_.run(std::move(job), this, [this, name](bool done) {
        --jobs_;
        refresh(PlayedAppsModel::Places::Keep);
        if (!done)
            dialogs_.tell(QStringLiteral("无法完全删除“%1”，请检查游戏文件夹的权限，或稍后再试。").arg(name));
    });
}
