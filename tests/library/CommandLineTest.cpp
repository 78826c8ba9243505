#include "library/CommandLine.h"

#include <gtest/gtest.h>

using library::CommandLine;
using Action = CommandLine::Action;

TEST(CommandLineTest, TakesItsCommandsAloneAndMovieFilesForTheWindow) {
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::vector<std::string> files;
    };
    const std::vector<Case> cases{
        {{}, Action::Window, {}},
        {{"game.swf", "../old/b.swf", "file:///home/u/%E6%B8%B8.swf"},
         Action::Window,
         {"game.swf", "../old/b.swf", "file:///home/u/%E6%B8%B8.swf"}},
        // After "--" a name that starts with "-" is a file.
        {{"--", "-odd.swf", "--help"}, Action::Window, {"-odd.swf", "--help"}},
        {{"--help"}, Action::Help, {}},
        {{"--version"}, Action::Version, {}},
        {{"--folders"}, Action::Folders, {}},
        {{"--list-played"}, Action::ListPlayed, {}},
        {{"--backup-saves", "x.zip"}, Action::BackupSaves, {}},
        {{"--restore-saves", "x.zip"}, Action::RestoreSaves, {}},
    };
    for (const Case& c : cases) {
        const auto line = CommandLine::parse(c.args);
        EXPECT_EQ(line.action(), c.action) << testing::PrintToString(c.args);
        EXPECT_EQ(line.files(), c.files) << testing::PrintToString(c.args);
        EXPECT_EQ(line.runsAlone(), c.action != Action::Window);
    }
}

TEST(CommandLineTest, RefusesTyposMissingAndExtraArgumentsAndMixedCommands) {
    const std::vector<std::vector<std::string>> wrong{
        {"--backup-save", "x.zip"}, // one letter short
        {"--backup-saves"},
        {"--backup-saves", ""},
        {"--restore-saves", "a.zip", "b.zip"},
        {"--list-played", "extra"},
        {"--help", "--version"},
        {"game.swf", "--list-played"},
        {"-h"},
        {"-"},
        {""},
        {"game.swf", ""},
        {"--backup-saves=x.zip"},
    };
    for (const auto& args : wrong) {
        const auto line = CommandLine::parse(args);
        EXPECT_EQ(line.action(), Action::Wrong) << testing::PrintToString(args);
        EXPECT_TRUE(line.files().empty());
        EXPECT_TRUE(line.runsAlone()) << "a refused command line opens no window";
    }
}
