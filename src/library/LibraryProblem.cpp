#include "library/LibraryProblem.h"

#include "sqlite/Error.h"

namespace library {

LibraryProblem LibraryProblem::of(const std::exception& error) {
    const auto* failure = dynamic_cast<const sqlite::Error*>(&error);
    const auto kind = failure ? failure->kind() : sqlite::Error::Kind::Other;
    switch (kind) {
    case sqlite::Error::Kind::Busy:
        return {true, "另一个程序正在使用游戏记录文件（Library.db）。"};
    case sqlite::Error::Kind::NotWritable:
        return {false, "游戏记录（Library.db）无法写入：程序文件夹或这个文件是只读的。"};
    case sqlite::Error::Kind::Full:
        return {false, "磁盘已满，游戏记录（Library.db）无法写入。"};
    case sqlite::Error::Kind::Damaged:
        return {false, "游戏记录（Library.db）已损坏。"};
    case sqlite::Error::Kind::Schema:
        return {false, "游戏记录（Library.db）被别的程序改动过，已不是游戏记录能用的文件。"};
    default:
        return {false, std::string("无法使用游戏记录（Library.db）：") + error.what() + "。"};
    }
}

} // namespace library
