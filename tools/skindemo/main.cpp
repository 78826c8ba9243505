// skindemo [skin name]: a 1000 x 728 skinned window drawn from <application folder>/Skin/<name>
// (default "Default"), with an icon, a caption and an empty content area.

#include "DemoContent.h"
#include "skin/qt/DirectUI.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace {

// The demo's window: keeps its content widget on the frame's content rectangle.
class DemoWindow : public QWidget {
  public:
    DemoWindow() : client_(new QWidget(this)) {}
    QWidget* client() const { return client_; }

  protected:
    void resizeEvent(QResizeEvent*) override { client_->setGeometry(2, 31, width() - 4, height() - 34); }

  private:
    QWidget* client_;
};

QIcon demoIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor("#F5B041"));
    p.setPen(QPen(QColor("#7E5109"), 2));
    p.drawRoundedRect(QRectF(3, 3, 26, 26), 6, 6);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(10, 22, 16, 9);
    p.drawLine(16, 9, 22, 22);
    return QIcon(pixmap);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString skinName = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Default");

    DemoWindow window;
    window.resize(1000, 728);
    window.setWindowTitle(QStringLiteral("Brindle 应用盒子 — %1").arg(skinName));
    window.setWindowIcon(demoIcon());
    addDemoContent(window.client());

    skin::DirectUI frame;
    frame.Skin(skinName, &window);
    window.move(20, 20);
    window.show();
    return app.exec();
}
