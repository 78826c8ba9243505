#pragma once
// The download control's host for a terminal: prints every event on its own line as it is raised
// ("DLProgress 0.5 512 1024"), drives the message queue, and can cancel after a delay.

#include "controls/DownloadQueueLoop.h"
#include "controls/bkDLHost.h"

#include <chrono>
#include <iosfwd>
#include <optional>

class bkDLControl;

class CommandLineHost : public bkDLHost {
  public:
    explicit CommandLineHost(std::ostream& out) : out_(out) {}

    DownloadQueueLoop& loop() { return loop_; }
    // Cancels the control's download once delay has passed, counted from now.
    void cancelAfter(bkDLControl& control, std::chrono::milliseconds delay);

    void processMessages() override;
    void showErrorBox(const std::string& title, const std::string& text) override;

    void DLProgress(float percent, std::int32_t bytesRead, std::int32_t totalBytes) override;
    void DLCanceled() override;
    void DLError(std::int32_t error, const std::string& message) override;
    void DLComplete(std::int32_t bytes) override;
    void DLConnected(const std::string& connAddr) override;
    void DLRedirect(const std::string& fileName) override;
    void DLCacheFile(const std::string& fileName) override;
    void DLMIMEType(const std::string& mimeType) override;
    void DLFileSize(std::int32_t totalBytes) override;
    void DLBeginDownload() override;

  private:
    void line(const std::string& text);

    std::ostream& out_;
    DownloadQueueLoop loop_;
    bkDLControl* cancelled_ = nullptr;
    std::optional<std::chrono::steady_clock::time_point> cancelAt_;
};
