#pragma once
// The download control as a widget: paints the progress box, shows the start-failure message box,
// and raises the control's events as Qt signals with their arguments. Settings and the state of
// the last download that have no forwarder here are on control().

#include "controls/bkDLControl.h"
#include "controls/qt/DownloadQtLoop.h"

#include <QWidget>
#include <memory>

class bkDLControlWidget : public QWidget {
    Q_OBJECT
  public:
    explicit bkDLControlWidget(QWidget* parent = nullptr);
    ~bkDLControlWidget() override;

    // With wait, keeps the Qt event loop running until the download has ended.
    bool BeginDownload(bool wait = false) { return control_->BeginDownload(wait); }
    void CancelDownload() { control_->CancelDownload(); }
    void Refresh() { control_->Refresh(); }

    QString FileURL() const { return QString::fromStdString(control_->FileURL()); }
    void setFileURL(const QString& url) { control_->setFileURL(url.toStdString()); }
    QString SaveFilePath() const { return QString::fromStdString(control_->SaveFilePath()); }
    void setSaveFilePath(const QString& folder) { control_->setSaveFilePath(folder.toStdString()); }
    QString SaveFileName() const { return QString::fromStdString(control_->SaveFileName()); }
    bool FailOnRedirect() const { return control_->FailOnRedirect(); }
    void setFailOnRedirect(bool on) { control_->setFailOnRedirect(on); }
    bool RenameOnRedirect() const { return control_->RenameOnRedirect(); }
    void setRenameOnRedirect(bool on) { control_->setRenameOnRedirect(on); }
    bool ShowProgress() const { return control_->ShowProgress(); }
    void setShowProgress(bool on) { control_->setShowProgress(on); }

    bkDLControl& control() { return *control_; }
    const bkDLControl& control() const { return *control_; }

    // Saved settings; the ambient font is the parent's.
    void InitProperties() { control_->InitProperties(ambientFont()); }
    // Loading raises no change notification, so the loaded Enabled and Font are applied here.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const { control_->WriteProperties(bag, ambientFont()); }

  signals:
    void Click();
    void DblClick();
    // Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl, 4 Alt; X, Y in pixels.
    void MouseDown(short button, short shift, float x, float y);
    void MouseMove(short button, short shift, float x, float y);
    void MouseUp(short button, short shift, float x, float y);
    void DLProgress(float percent, int bytesRead, int totalBytes);
    void DLCanceled();
    void DLError(int error, const QString& message);
    void DLComplete(int bytes);
    void DLConnected(const QString& connAddr);
    void DLRedirect(const QString& fileName);
    void DLCacheFile(const QString& fileName);
    void DLMIMEType(const QString& mimeType);
    void DLFileSize(int totalBytes);
    void DLBeginDownload();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    class Host;
    std::string ambientFont() const;
    void applyProperty(std::string_view name);

    DownloadQtLoop loop_; // outlives the control and its reader
    std::unique_ptr<Host> host_;
    std::unique_ptr<bkDLControl> control_;
    bool releaseEndsDoubleClick_ = false; // the release after a double click raises no Click
};
