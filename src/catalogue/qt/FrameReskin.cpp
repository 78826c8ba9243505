#include "catalogue/qt/FrameReskin.h"

#include "base/Twips.h"

#include <QComboBox>
#include <QPushButton>

FrameReskin::FrameReskin(QWidget* window, std::function<void(const QString&)> reskin)
    : QObject(window), Command1_(new QPushButton(QStringLiteral("换肤"), window)),
      SkinList_(new QComboBox(window)) {
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setGeometry(base::twipsToPixels(5400), 0, base::twipsToPixels(975), base::twipsToPixels(495));
    SkinList_->setObjectName(QStringLiteral("SkinList"));
    SkinList_->setEditable(true);
    SkinList_->setEditText(QStringLiteral("Combo1"));
    SkinList_->move(base::twipsToPixels(1560), base::twipsToPixels(120));
    SkinList_->resize(base::twipsToPixels(3735), SkinList_->sizeHint().height());
    Command1_->hide();
    SkinList_->hide();
    connect(Command1_, &QPushButton::clicked, this,
            [this, reskin = std::move(reskin)] { reskin(SkinList_->currentText()); });
}
