#pragma once
// The pictures of the catalogue's main tabs: a 48 x 48 rounded square in the area's own colour with
// the first character of its caption, drawn above the caption in the 80 x 75 tabs.

#include <QImage>
#include <QString>

namespace skin {

// area: the main tab's position (0 home to 7 search); positions past the eighth reuse the colours.
QImage AreaPicture(int area, const QString& caption);

} // namespace skin
