#pragma once
// The log category of the catalogue window, its update check and its single instance ("brindle.catalogue"):
// its messages can be shown or hidden with QT_LOGGING_RULES apart from those of the other parts of the
// program.

#include <QLoggingCategory>

inline const QLoggingCategory& catalogueLog() {
    static const QLoggingCategory category("brindle.catalogue");
    return category;
}
