#include "viewer/qt/PlayerGroup.h"

#include "viewer/SaveWriter.h"
#include "viewer/qt/FlashPlayer.h"
#include "viewer/qt/ViewerLog.h"

#include <algorithm>

PlayerGroup::PlayerGroup(viewer::SaveWriter& writer, QObject* parent) : QObject(parent), writer_(writer) {
    writer_.setFailureReport([this](const std::filesystem::path& file) {
        QMetaObject::invokeMethod(
            this,
            [this, file] {
                qCWarning(viewerLog, "a save could not be written: %s", file.c_str());
                emit saveFailed(file);
            },
            Qt::QueuedConnection);
    });
}

PlayerGroup::PlayerGroup(QObject* parent) : PlayerGroup(*new viewer::SaveWriter, parent) {
    ownWriter_.reset(&writer_);
}

// No report reaches the group once this returns; what the writer still carries out is logged by
// nobody, as the players are gone.
PlayerGroup::~PlayerGroup() {
    writer_.setFailureReport({});
}

void PlayerGroup::join(FlashPlayer* player) {
    players_.push_back(player);
}

void PlayerGroup::leave(FlashPlayer* player) {
    std::erase(players_, player);
    if (player->isStopping()) QMetaObject::invokeMethod(this, &PlayerGroup::stopEnded, Qt::QueuedConnection);
}

bool PlayerGroup::stopping() const {
    return std::any_of(players_.begin(), players_.end(),
                       [](const FlashPlayer* p) { return p->isStopping(); });
}
