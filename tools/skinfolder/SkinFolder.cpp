#include "SkinFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

void SkinFolder::writeBitmap(const QString& path, const QImage& image) {
    if (!prepare(path) || !image.save(root_.filePath(path), "BMP")) report(path, "write");
}

void SkinFolder::writeText(const QString& path, const QString& text) {
    QFile file(root_.filePath(path));
    const QByteArray bytes = text.toUtf8();
    if (!prepare(path) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size())
        report(path, "write");
}

QImage SkinFolder::readBitmap(const QString& path) {
    QImage image(root_.filePath(path));
    if (image.isNull()) report(path, "read");
    return image;
}

bool SkinFolder::prepare(const QString& path) {
    return root_.mkpath(QFileInfo(path).path());
}

void SkinFolder::report(const QString& path, const char* action) {
    std::fprintf(stderr, "%s: cannot %s %s\n", program_, action, qPrintable(root_.filePath(path)));
    allWritten_ = false;
}

int runSkinGenerator(int argc, char** argv, const char* program,
                     const std::function<void(SkinFolder&)>& draw) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <Skin folder>\n", program);
        return 2;
    }
    SkinFolder folder(QDir(QString::fromLocal8Bit(argv[1])), program);
    draw(folder);
    return folder.allWritten() ? 0 : 1;
}
