#pragma once
// Keeps the lasting cookies of a profile in a file of their own. The web engine writes its cookie
// database only every 30 seconds, so a crash or a kill would lose what a page stored in that time;
// this file is rewritten (atomically) within a second of every change instead, and the profile
// keeps its cookies in memory only, so that the file is their one copy on disk.
//
// At start the cookies of the file that have not expired go into the store, before any page of the
// profile loads. Session cookies (those without an expiry) end with the program, as in a browser,
// and are not written. The file holds one cookie a line in Set-Cookie form.

#include <QList>
#include <QNetworkCookie>
#include <QObject>
#include <QTimer>
#include <filesystem>

class QWebEngineCookieStore;

class PersistentCookies : public QObject {
    Q_OBJECT
  public:
    // How long after a change the file is written; further changes meanwhile go with it.
    static constexpr int WriteDelayMs = 1000;

    PersistentCookies(QWebEngineCookieStore& store, std::filesystem::path file, QObject* parent = nullptr);
    // Writes a change still waiting.
    ~PersistentCookies() override;

    // Writes now when something changed since the last write.
    void flush();
    const QList<QNetworkCookie>& cookies() const { return cookies_; }

  private:
    void restore(QWebEngineCookieStore& store);
    void added(const QNetworkCookie& cookie);
    void removed(const QNetworkCookie& cookie);
    void changed();

    std::filesystem::path file_;
    QList<QNetworkCookie> cookies_;
    QTimer write_;
    bool dirty_ = false;
};
