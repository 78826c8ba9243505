#include "skin/qt/LoadWebPicture.h"

#include <QCoreApplication>

namespace skin {

Surface LoadWebPicture(const std::filesystem::path& path) {
    // Keeps the windows painted during a long load; user input waits, so no click re-enters a
    // window that is still being skinned.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return Surface::loadBitmap(path);
}

} // namespace skin
