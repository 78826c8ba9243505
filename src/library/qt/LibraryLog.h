#pragma once
// The log category of the play library and the 我的游戏 page ("brindle.library"): its messages can be shown
// or hidden with QT_LOGGING_RULES apart from those of the other parts of the program.

#include <QLoggingCategory>

inline const QLoggingCategory& libraryLog() {
    static const QLoggingCategory category("brindle.library");
    return category;
}
