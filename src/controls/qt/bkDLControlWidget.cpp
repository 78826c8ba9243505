#include "controls/qt/bkDLControlWidget.h"

#include "controls/CurlReader.h"
#include "controls/qt/SystemColour.h"

#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

namespace {

short buttonCode(Qt::MouseButtons buttons) {
    short code = 0;
    if (buttons & Qt::LeftButton) code |= 1;
    if (buttons & Qt::RightButton) code |= 2;
    if (buttons & Qt::MiddleButton) code |= 4;
    return code;
}

short shiftCode(Qt::KeyboardModifiers modifiers) {
    short code = 0;
    if (modifiers & Qt::ShiftModifier) code |= 1;
    if (modifiers & Qt::ControlModifier) code |= 2;
    if (modifiers & Qt::AltModifier) code |= 4;
    return code;
}

} // namespace

// Passes the control's calls on to the widget: events become signals, the message loop is Qt's.
class bkDLControlWidget::Host : public bkDLHost {
  public:
    explicit Host(bkDLControlWidget& widget) : w_(widget) {}

    void processMessages() override { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }
    void showErrorBox(const std::string& title, const std::string& text) override {
        QMessageBox::critical(&w_, QString::fromStdString(title), QString::fromStdString(text),
                              QMessageBox::Ok);
    }
    void repaint() override { w_.update(); }
    void propertyChanged(std::string_view name) override { w_.applyProperty(name); }

    void DLProgress(float percent, std::int32_t bytesRead, std::int32_t totalBytes) override {
        emit w_.DLProgress(percent, bytesRead, totalBytes);
    }
    void DLCanceled() override { emit w_.DLCanceled(); }
    void DLError(std::int32_t error, const std::string& message) override {
        emit w_.DLError(error, QString::fromStdString(message));
    }
    void DLComplete(std::int32_t bytes) override { emit w_.DLComplete(bytes); }
    void DLConnected(const std::string& connAddr) override {
        emit w_.DLConnected(QString::fromStdString(connAddr));
    }
    void DLRedirect(const std::string& fileName) override {
        emit w_.DLRedirect(QString::fromStdString(fileName));
    }
    void DLCacheFile(const std::string& fileName) override {
        emit w_.DLCacheFile(QString::fromStdString(fileName));
    }
    void DLMIMEType(const std::string& mimeType) override {
        emit w_.DLMIMEType(QString::fromStdString(mimeType));
    }
    void DLFileSize(std::int32_t totalBytes) override { emit w_.DLFileSize(totalBytes); }
    void DLBeginDownload() override { emit w_.DLBeginDownload(); }

  private:
    bkDLControlWidget& w_;
};

bkDLControlWidget::bkDLControlWidget(QWidget* parent)
    : QWidget(parent), host_(std::make_unique<Host>(*this)),
      control_(std::make_unique<bkDLControl>(*host_, std::make_unique<CurlReader>(loop_))) {
    control_->InitProperties(ambientFont());
    setMouseTracking(true); // MouseMove comes with and without a button down
}

bkDLControlWidget::~bkDLControlWidget() = default;

std::string bkDLControlWidget::ambientFont() const {
    return (parentWidget() ? parentWidget()->font() : QApplication::font()).toString().toStdString();
}

void bkDLControlWidget::ReadProperties(const PropertyBag& bag) {
    control_->ReadProperties(bag, ambientFont());
    applyProperty("Enabled");
    applyProperty("Font");
    update();
}

void bkDLControlWidget::applyProperty(std::string_view name) {
    if (name == "Enabled") {
        setEnabled(control_->Enabled());
    } else if (name == "Font") {
        QFont font;
        if (font.fromString(QString::fromStdString(control_->Font()))) setFont(font);
    } else if (name == "BackColor" || name == "ForeColor" || name == "BorderStyle") {
        update();
    }
}

void bkDLControlWidget::changeEvent(QEvent* event) {
    // Changes made through QWidget keep the control's copy in step.
    if (event->type() == QEvent::EnabledChange && isEnabled() != control_->Enabled())
        control_->setEnabled(isEnabled());
    if (event->type() == QEvent::FontChange && font().toString().toStdString() != control_->Font())
        control_->setFont(font().toString().toStdString());
    QWidget::changeEvent(event);
}

void bkDLControlWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), systemColour(control_->BackColor(), palette(), QPalette::Window));
    if (auto box = control_->progressBox(width(), height()))
        painter.fillRect(QRectF(0, 0, box->width, box->height),
                         systemColour(control_->ForeColor(), palette(), QPalette::Window));
    if (control_->BorderStyle() == 1) {
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void bkDLControlWidget::mousePressEvent(QMouseEvent* event) {
    auto at = event->position();
    emit MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), float(at.x()), float(at.y()));
}

void bkDLControlWidget::mouseMoveEvent(QMouseEvent* event) {
    auto at = event->position();
    emit MouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()), float(at.x()), float(at.y()));
}

void bkDLControlWidget::mouseReleaseEvent(QMouseEvent* event) {
    auto at = event->position();
    emit MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(at.x()), float(at.y()));
    // A double click is MouseDown, MouseUp, Click, DblClick, MouseUp: one Click only.
    bool endsDoubleClick = std::exchange(releaseEndsDoubleClick_, false);
    if (event->button() == Qt::LeftButton && !endsDoubleClick && rect().contains(event->position().toPoint()))
        emit Click();
}

void bkDLControlWidget::mouseDoubleClickEvent(QMouseEvent*) {
    releaseEndsDoubleClick_ = true;
    emit DblClick();
}
