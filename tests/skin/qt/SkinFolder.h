#pragma once
// A small skin written into a temporary application folder for the frame tests: main.bmp with one
// colour per piece, SysButton.bmp with one colour per column and state, and a Skin.ini whose lines
// a test may change.

#include "TempDir.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <map>
#include <string>

class SkinFolder {
  public:
    // Piece colours of main.bmp (60 x 60: top band 31, middle 26, bottom 3; sides 2 wide).
    static QRgb top() { return qRgb(40, 90, 200); }
    static QRgb centre() { return qRgb(225, 234, 246); }
    static QRgb side() { return qRgb(20, 60, 140); }
    // Colour of button column (0 close .. 4 skin menu, counted from the right) in state s.
    static QRgb button(int column, int state) { return qRgb(100 + 30 * column, 50 * state, 200); }

    SkinFolder() {
        keys_ = {{"TopLeft", "10"},        {"TopRight", "10"}, {"TopCeter", "40"}, {"TopHeight", "31"},
                 {"CetLeft", "2"},         {"CetRight", "2"},  {"CetCeter", "56"}, {"CetHeight", "26"},
                 {"BotLeft", "3"},         {"BotRight", "3"},  {"BotCeter", "54"}, {"BotHeight", "3"},
                 {"CaptionColor", ""},     {"SizeX1", "9"},    {"SizeY1", "9"},    {"Cmd.Height", "22"},
                 {"CmdClose.Width", "44"}, {"Cmd.Top", "1"},   {"Cmd.Left", "-1"}, {"Cmd.Width", "30"}};
        std::filesystem::create_directories(folder());
        QImage main(60, 60, QImage::Format_RGB32);
        main.fill(side());
        QPainter p(&main);
        p.fillRect(0, 0, 60, 31, top());
        p.fillRect(2, 31, 56, 26, centre());
        p.end();
        main.save(path("main.bmp"), "BMP");
        QImage buttons(44 + 4 * 30, 66, QImage::Format_RGB32);
        QPainter b(&buttons);
        for (int state = 0; state < 3; ++state)
            for (int column = 0; column < 5; ++column) {
                int right = buttons.width() - (column == 0 ? 0 : 44 + (column - 1) * 30);
                int width = column == 0 ? 44 : 30;
                b.fillRect(right - width, state * 22, width, 22, button(column, state));
            }
        b.end();
        buttons.save(path("SysButton.bmp"), "BMP");
        writeIni();
    }

    void set(const std::string& key, const std::string& value) {
        keys_[key] = value;
        writeIni();
    }
    void remove(const std::string& key) {
        keys_.erase(key);
        writeIni();
    }
    void write(const char* name, const QByteArray& bytes) {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }

    const std::filesystem::path& appFolder() const { return dir_.path(); }
    std::filesystem::path folder() const { return dir_.path() / "Skin" / "Test"; }
    QString path(const char* name) const { return QString::fromStdString((folder() / name).string()); }

  private:
    void writeIni() {
        std::string text = "[Main]\r\n";
        for (const auto& [key, value] : keys_)
            text += key + " = " + value + "\r\n";
        write("Skin.ini", QByteArray::fromStdString(text));
    }

    TempDir dir_;
    std::map<std::string, std::string> keys_;
};
