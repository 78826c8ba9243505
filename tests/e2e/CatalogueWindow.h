#pragma once
// The catalogue window in the test's own process, in a fresh application folder (the built skins,
// Html, Game and a Servers.ini pointing at a store), with the window's message boxes recorded
// instead of shown.

#include "BrindleFolder.h"
#include "catalogue/qt/MainFrm.h"
#include "startup/Settings.h"
#include "web/qt/WebProfiles.h"

#include <QStringList>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class CatalogueWindow {
  public:
    // The window is made by open(), so a test can prepare the folder first.
    explicit CatalogueWindow(const std::string& storeSite);
    ~CatalogueWindow();

    const std::filesystem::path& folder() const { return folder_.path(); }
    std::filesystem::path settingsFile() const { return folder() / "Brindle.ini"; }

    // Writes the default settings file (when missing), reads it and opens the window on it.
    MainFrm& open();
    MainFrm& window() { return *window_; }
    const Settings& settings() const { return settings_; }
    // True once the window has unloaded.
    bool unloaded() const { return unloaded_; }

    // The texts of the message boxes shown so far.
    const QStringList& messages() const { return messages_; }

  private:
    BrindleFolder folder_;
    WebProfiles web_;
    Settings settings_;
    std::unique_ptr<MainFrm> window_;
    bool unloaded_ = false;
    QStringList messages_;
};

// Runs the event loop until done() or timeout; returns done().
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(20));
