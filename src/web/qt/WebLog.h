#pragma once
// The log category of the web profiles and page data ("brindle.web"): its messages can be shown or hidden
// with QT_LOGGING_RULES apart from those of the other parts of the program.

#include <QLoggingCategory>

inline const QLoggingCategory& webLog() {
    static const QLoggingCategory category("brindle.web");
    return category;
}
