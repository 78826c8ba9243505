#pragma once
// Answers the player's request for a movie with the movie as the player should get it: an old
// movie whose strings are in the Chinese code page rewritten in UTF-8 (see CodePageMovie), any
// other as its file. The file is read and rewritten on a worker thread; the answer is given on the
// request's thread, and not at all when the page has given up on the request meanwhile.

#include <QString>

class QWebEngineUrlRequestJob;

class MovieReply {
  public:
    static void send(QWebEngineUrlRequestJob* job, const QString& file, const QByteArray& contentType);
    // Answers job with the file as it is.
    static void sendFile(QWebEngineUrlRequestJob* job, const QString& file, const QByteArray& contentType);
};
