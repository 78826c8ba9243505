#pragma once
// bkDLControl: fetches one file from a URL in the background into a folder and reports progress
// and the end of the transfer through the host's events. One download at a time.
//
// The body is streamed by the reader into a temporary file in the target folder and renamed into
// place once complete, so memory use does not grow with the file and an error, a cancel or a crash
// never leaves a partial file under the final name.

#include "controls/PropertyBag.h"
#include "controls/UrlReader.h"
#include "controls/bkDLHost.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class bkDLControl : private UrlReaderListener {
  public:
    // Colour integers with the high bit set name system colours (button face, button text).
    static constexpr std::int32_t DefaultBackColor = static_cast<std::int32_t>(0x8000000Fu);
    static constexpr std::int32_t DefaultForeColor = static_cast<std::int32_t>(0x80000012u);

    // Error codes raised with DLError.
    enum Error : std::int32_t {
        StartFailed = 1,
        Redirected = 2,
        ZeroBytes = 3,
        SaveFailed = 4,
        ReadFailed = 99
    };

    bkDLControl(bkDLHost& host, std::unique_ptr<UrlReader> reader);
    // Cancels a running read without raising any event.
    ~bkDLControl() override;
    bkDLControl(const bkDLControl&) = delete;
    bkDLControl& operator=(const bkDLControl&) = delete;

    // The file name that a URL gives: the text after its last "/" or "\", query included.
    static std::string fileNameOf(const std::string& url);
    // The full path of the file to write: folder joined with the URL's file name; empty when
    // either is empty.
    static std::string deriveSaveFileName(const std::string& folder, const std::string& url);

    // Methods.
    bool BeginDownload(bool wait = false);
    void CancelDownload();
    void Refresh() { host_.repaint(); }

    // Settings.
    const std::string& FileURL() const { return fileUrl_; }
    void setFileURL(std::string url);
    const std::string& SaveFilePath() const { return saveFilePath_; }
    void setSaveFilePath(std::string folder);
    bool FailOnRedirect() const { return failOnRedirect_; }
    void setFailOnRedirect(bool on);
    // Reads true only when the stored flag is set and FailOnRedirect is off.
    bool RenameOnRedirect() const { return renameOnRedirect_ && !failOnRedirect_; }
    bool storedRenameOnRedirect() const { return renameOnRedirect_; }
    void setRenameOnRedirect(bool on);
    bool ShowProgress() const { return showProgress_; }
    void setShowProgress(bool on);
    // Not saved with the other settings, for callers that read from a server they cannot trust:
    // the file name to save under in SaveFilePath instead of the URL's (empty: the URL's), and the
    // most bytes and the longest time a download may take (0: no limit); beyond them it fails.
    const std::string& SaveAs() const { return saveAs_; }
    void setSaveAs(std::string fileName);
    void setLimits(std::int64_t maxBytes, std::chrono::milliseconds deadline);

    // Appearance of the drawing surface.
    std::int32_t BackColor() const { return backColor_; }
    void setBackColor(std::int32_t colour);
    std::int32_t ForeColor() const { return foreColor_; }
    void setForeColor(std::int32_t colour);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    // The font as the host's own text description of it.
    const std::string& Font() const { return font_; }
    void setFont(std::string font);
    std::int16_t BorderStyle() const { return borderStyle_; }
    void setBorderStyle(std::int16_t style);

    // State of the last download.
    const std::string& SaveFileName() const { return saveFileName_; }
    std::int32_t BytesRead() const { return bytesRead_; }
    std::int32_t FileSize() const { return fileSize_; }
    const std::string& CacheFile() const { return cacheFile_; }
    const std::string& ConnectionAddress() const { return connectionAddress_; }
    const std::string& MIMEType() const { return mimeType_; }
    const std::string& RedirectFile() const { return redirectFile_; }
    float progress() const { return progress_; }
    bool downloading() const { return downloading_; }
    bool completed() const { return completed_; }

    // Saved settings: defaults for a newly placed control, and loading and saving them in order.
    void InitProperties(const std::string& ambientFont);
    void ReadProperties(const PropertyBag& bag, const std::string& ambientFont);
    void WriteProperties(PropertyBag& bag, const std::string& ambientFont) const;

    // The progress box to paint in a surface of this size: from the top-left corner, the width
    // times the progress fraction and the full height; none when nothing is to be drawn.
    struct Box {
        double width = 0;
        double height = 0;
    };
    std::optional<Box> progressBox(double width, double height) const;

  private:
    void onReadProgress(const ReadProgress& progress) override;
    void onReadComplete(ReadCompletion& completion) override;
    void raiseError(std::int32_t code, const std::string& message);
    void startFailed(const ReadStartError& failure);
    // Deletes the reader's temporary copy once the file is in place; false with reason on failure.
    bool removeCacheCopy(std::string& reason) const;
    void deriveSaveFileName();
    void changed(std::string_view name) { host_.propertyChanged(name); }

    bkDLHost& host_;
    std::unique_ptr<UrlReader> reader_;

    std::string fileUrl_;
    std::string saveFilePath_;
    bool failOnRedirect_ = true;
    bool renameOnRedirect_ = true;
    bool showProgress_ = true;
    std::string saveAs_;
    std::int64_t maxBytes_ = 0;
    std::chrono::milliseconds deadline_{0};
    std::int32_t backColor_ = DefaultBackColor;
    std::int32_t foreColor_ = DefaultForeColor;
    bool enabled_ = true;
    std::string font_;
    std::int16_t borderStyle_ = 1;

    std::string saveFileName_;
    std::string readKey_; // the key the running read was started with
    bool downloading_ = false;
    bool completed_ = false;
    float progress_ = 0;
    std::int32_t fileSize_ = 0;
    std::int32_t bytesRead_ = 0;
    std::string connectionAddress_;
    std::string cacheFile_;
    std::string redirectFile_;
    std::string mimeType_;
};
