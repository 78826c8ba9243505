#pragma once
// The Skin folder that a skin bitmap generator draws into (`<program> <Skin folder>`). Its files
// are committed, so a generator must write the same bytes every time.

#include <QDir>
#include <QImage>
#include <QString>
#include <functional>

class SkinFolder {
  public:
    SkinFolder(QDir root, const char* program) : root_(std::move(root)), program_(program) {}

    // Each writes the file at a path relative to the Skin folder, making its folders first. A
    // failure is reported on stderr and makes the generator end with status 1.
    void writeBitmap(const QString& path, const QImage& image); // as BMP
    void writeText(const QString& path, const QString& text);   // as UTF-8
    // A picture written earlier (by this or another generator); a missing or broken file is
    // reported like a failed write and gives a null image.
    QImage readBitmap(const QString& path);

    bool allWritten() const { return allWritten_; }

  private:
    bool prepare(const QString& path);
    void report(const QString& path, const char* action);

    QDir root_;
    const char* program_;
    bool allWritten_ = true;
};

// The main of a generator: starts Qt without a screen, checks that the one argument names the
// Skin folder (status 2 with a usage line otherwise) and lets draw write into it. Returns 0 when
// every file was written, else 1.
int runSkinGenerator(int argc, char** argv, const char* program,
                     const std::function<void(SkinFolder&)>& draw);
