#pragma once
// What a window hosting a download control provides: its message loop (for a waiting start), a
// message box, repainting, change notifications, and the control's events. Event handlers run on
// the user-interface thread and may call back into the control.

#include <cstdint>
#include <string>
#include <string_view>

class bkDLHost {
  public:
    virtual ~bkDLHost() = default;

    // Processes the pending messages of the user-interface thread, waiting for one when none is
    // pending. A waiting BeginDownload calls this until the download has ended.
    virtual void processMessages() = 0;
    // A message box with a critical-error icon and an OK button.
    virtual void showErrorBox(const std::string& title, const std::string& text) = 0;
    virtual void repaint() {}
    virtual void propertyChanged(std::string_view /*name*/) {}

    virtual void DLProgress(float /*percent*/, std::int32_t /*bytesRead*/, std::int32_t /*totalBytes*/) {}
    virtual void DLCanceled() {}
    virtual void DLError(std::int32_t /*error*/, const std::string& /*message*/) {}
    virtual void DLComplete(std::int32_t /*bytes*/) {}
    virtual void DLConnected(const std::string& /*connAddr*/) {}
    virtual void DLRedirect(const std::string& /*fileName*/) {}
    virtual void DLCacheFile(const std::string& /*fileName*/) {}
    virtual void DLMIMEType(const std::string& /*mimeType*/) {}
    virtual void DLFileSize(std::int32_t /*totalBytes*/) {}
    virtual void DLBeginDownload() {}
};
