#pragma once
// The update check of the catalogue window. When UpDateDown has fetched the update page and its
// version number differs from the program's own, the user is told and DownFtp fetches the new
// version's file. When that has arrived, it is started only if the maker's signature on the page
// verifies: then the user is told, the file is made executable and named to start once this
// program has ended, and the window closes. A file that does not verify is deleted and the program
// keeps running.
//
// A program that the system's software updates keep (its data is not beside it) downloads nothing:
// the first time a page announces a newer version, the user is told to update through the system.
//
// However it goes, the check ends with one line on standard error, "Brindle: update check ended:
// <outcome>", for example "no update (no newer version)", "no update page (<why its download
// failed>)" or "update offered, the new version starts once Brindle has ended".

#include "base/Folders.h"
#include "catalogue/UpdateFlow.h"

#include <QObject>
#include <QPointer>
#include <filesystem>

class bkDLControlWidget;
class QWidget;

class UpdateCheck : public QObject {
    Q_OBJECT
  public:
    static const QString FoundMessage;        // "发现新版，现在更新，请请稍后..."
    static const QString DoneMessage;         // "更新完成！"
    static const QString UnverifiedMessage;   // the file was not the maker's
    static const QString SystemUpdateMessage; // update through the system's software updates

    // window: the catalogue window, closed for the hand-over; it owns the two controls.
    UpdateCheck(bkDLControlWidget* UpDateDown, bkDLControlWidget* DownFtp, base::Folders folders,
                UpdateSignature checker, QWidget* window);

  signals:
    // The new version was verified and will start once the program has ended.
    void handedOver(const QString& program);
    // The new version's file arrived but was not the maker's; it was deleted.
    void rejected();
    // The check has ended, with the outcome that its line on standard error tells; after any message.
    void ended(const QString& outcome);

  private:
    void pageArrived(int bytes);
    void fileArrived(int bytes);
    // Ends the check with outcome, followed by the download's error when it failed with one.
    void end(const QString& outcome);

    QPointer<bkDLControlWidget> UpDateDown_;
    QPointer<bkDLControlWidget> DownFtp_;
    base::Folders folders_;
    UpdateFlow flow_;
    QPointer<QWidget> window_;
    QString downloadError_; // of the download that failed last
};
