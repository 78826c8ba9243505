#pragma once
// The demo window: a horizontal progress bar with a percent caption, a vertical one showing the
// distance from Min, and a line naming the events the bars raise. Given a URL, a download control
// fetches it and its progress drives the bars.

#include <QWidget>

class QLabel;
class bkDLControlWidget;
class ucProgressBarWidget;

class DemoWindow : public QWidget {
    Q_OBJECT

  public:
    explicit DemoWindow(int value, QWidget* parent = nullptr);

    // Sets both bars; false when the value is outside 0 to 100.
    bool setValue(int value);
    // Downloads url into folder, the bars following the progress.
    void startDownload(const QString& url, const QString& folder);

  private:
    void logEvent(const QString& name);

    ucProgressBarWidget* horizontal_;
    ucProgressBarWidget* vertical_;
    QLabel* events_;
    bkDLControlWidget* download_ = nullptr;
    QLabel* downloadStatus_ = nullptr;
};
