#pragma once
// Back and fore pictures for the demo's progress bars, painted at start-up: a dark rounded trough
// and a striped green fill of the same shape, so any part of the fill copied over the trough lines up.

#include <QImage>

struct DemoPictures {
    QImage back;
    QImage fore;

    // Pictures of the given size; a vertical pair has its fill gradient and stripes turned.
    static DemoPictures paint(QSize size, Qt::Orientation orientation);
};
