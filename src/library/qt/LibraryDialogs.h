#pragma once
// The questions the 我的游戏 page asks the player: where to write or read a zip (the desktop's file
// dialogs), whether to go on, and a message. Tests put their own answers in place of the dialogs.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

struct LibraryDialogs {
    // The file to write, starting from suggested (a full path); empty when the player cancelled.
    std::function<QString(const QString& suggested)> saveZip;
    // The zip to read, looking first in folder; empty when cancelled.
    std::function<QString(const QString& folder)> openZip;
    // Movie files of the player's own to play, looking first in folder; none when cancelled.
    std::function<QStringList(const QString& folder)> openMovies;
    // Yes or no; true to go on.
    std::function<bool(const QString& question)> confirm;
    // Yes or no with a box to tick: nothing when the player said no, else whether option was ticked.
    std::function<std::optional<bool>(const QString& question, const QString& option)> confirmWithOption;
    std::function<void(const QString& message)> tell;

    // The desktop's dialogs over parent.
    static LibraryDialogs desktop(QWidget* parent);
};
