#pragma once
// The log category of the app viewer and its Flash player ("brindle.viewer"): its messages can be shown or
// hidden with QT_LOGGING_RULES apart from those of the other parts of the program.

#include <QLoggingCategory>

inline const QLoggingCategory& viewerLog() {
    static const QLoggingCategory category("brindle.viewer");
    return category;
}
