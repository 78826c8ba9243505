#include "controls/bkDLControl.h"

#include "base/AtomicFile.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

namespace {

std::int32_t clampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

bool endsWithSeparator(const std::string& folder) {
    return !folder.empty() && folder.back() == std::filesystem::path::preferred_separator;
}

// A file name that would not name a file inside the target folder: empty (a URL ending in "/"),
// "." or ".." (a URL ending in "/.."), or one holding a byte that no file name may contain.
bool unsafeFileName(const std::string& name) {
    return name.empty() || name == "." || name == ".." || name.find('\0') != std::string::npos;
}

template <typename T> T readAs(const PropertyBag& bag, std::string_view name, T defaultValue) {
    auto value = bag.ReadProperty(name, defaultValue);
    if (auto* typed = std::get_if<T>(&value)) return *typed;
    return defaultValue; // a stored value of another kind counts as missing
}

} // namespace

bkDLControl::bkDLControl(bkDLHost& host, std::unique_ptr<UrlReader> reader)
    : host_(host), reader_(std::move(reader)) {}

bkDLControl::~bkDLControl() {
    if (downloading_) reader_->cancel(readKey_);
}

std::string bkDLControl::fileNameOf(const std::string& url) {
    auto cut = url.find_last_of("/\\");
    return cut == std::string::npos ? url : url.substr(cut + 1);
}

std::string bkDLControl::deriveSaveFileName(const std::string& folder, const std::string& url) {
    if (folder.empty() || url.empty()) return {};
    auto name = fileNameOf(url);
    return endsWithSeparator(folder) ? folder + name
                                     : folder + std::filesystem::path::preferred_separator + name;
}

void bkDLControl::deriveSaveFileName() {
    saveFileName_ = deriveSaveFileName(saveFilePath_, saveAs_.empty() ? fileUrl_ : saveAs_);
}

bool bkDLControl::BeginDownload(bool wait) {
    if (downloading_ || saveFilePath_.empty() || fileUrl_.empty()) return false;
    if (unsafeFileName(fileNameOf(saveFileName_))) {
        raiseError(SaveFailed, "Invalid file name [" + saveFileName_ + "]");
        return false;
    }
    std::filesystem::path target(saveFileName_);
    ReadRequest request{fileUrl_, saveFileName_, base::temporarySibling(target.parent_path() / "bkdl"),
                        maxBytes_, deadline_};
    if (auto failure = reader_->start(request, *this)) {
        startFailed(*failure);
        return false;
    }
    readKey_ = saveFileName_;
    downloading_ = true;
    fileSize_ = 0;
    bytesRead_ = 0;
    connectionAddress_.clear();
    cacheFile_.clear();
    redirectFile_.clear();
    mimeType_.clear();
    completed_ = false;
    if (!wait) return true;
    while (downloading_)
        host_.processMessages();
    return completed_;
}

void bkDLControl::startFailed(const ReadStartError& failure) {
    raiseError(StartFailed, failure.description);
    auto number = std::to_string(failure.number);
    host_.showErrorBox("bkDLControl Internal Error: " + number, number + "Error: \r\n" + failure.description);
}

void bkDLControl::CancelDownload() {
    if (!downloading_) return;
    reader_->cancel(readKey_);
    progress_ = 0;
    host_.repaint();
    downloading_ = false;
    host_.DLCanceled();
}

void bkDLControl::raiseError(std::int32_t code, const std::string& message) {
    progress_ = 0;
    host_.repaint();
    downloading_ = false;
    host_.DLError(code, message);
    host_.DLComplete(0);
}

void bkDLControl::onReadProgress(const ReadProgress& progress) {
    if (!downloading_) return; // a late notification of a download that has already ended
    switch (progress.status) {
    case ReadStatus::Error:
        raiseError(ReadFailed, progress.text);
        break;
    case ReadStatus::Connecting:
        connectionAddress_ = progress.text;
        host_.DLConnected(progress.text);
        break;
    case ReadStatus::Redirecting:
        redirectFile_ = progress.text;
        if (failOnRedirect_) {
            reader_->cancel(readKey_);
            raiseError(Redirected, "Redirected to " + progress.text);
        } else {
            host_.DLRedirect(progress.text);
        }
        break;
    case ReadStatus::BeginData:
        fileSize_ = clampToInt32(progress.totalBytes);
        host_.DLFileSize(fileSize_);
        host_.DLBeginDownload();
        break;
    case ReadStatus::Data:
    case ReadStatus::EndData:
        // The fraction comes from the full 64-bit counts, so files over 2 GiB still show progress.
        progress_ = progress.totalBytes > 0 ? static_cast<float>(static_cast<double>(progress.bytesRead) /
                                                                 static_cast<double>(progress.totalBytes))
                                            : 0.0f;
        bytesRead_ = clampToInt32(progress.bytesRead);
        host_.DLProgress(progress_, bytesRead_, clampToInt32(progress.totalBytes));
        break;
    case ReadStatus::MimeType:
        mimeType_ = progress.text;
        host_.DLMIMEType(progress.text);
        break;
    case ReadStatus::CacheFile:
        cacheFile_ = progress.text;
        host_.DLCacheFile(progress.text);
        break;
    default:
        break;
    }
    host_.repaint();
}

void bkDLControl::onReadComplete(ReadCompletion& completion) {
    if (!downloading_) return; // the body file goes with the completion record
    if (!completion.saveError.empty()) {
        raiseError(SaveFailed, completion.saveError + " [" + saveFileName_ + "]");
        return;
    }
    if (completion.bytesRead == 0) {
        raiseError(ZeroBytes, "Zero bytes retrieved");
        return;
    }
    if (!redirectFile_.empty() && renameOnRedirect_ && saveAs_.empty())
        saveFileName_ = deriveSaveFileName(saveFilePath_, redirectFile_);
    if (unsafeFileName(fileNameOf(saveFileName_))) {
        raiseError(SaveFailed, "Invalid file name [" + saveFileName_ + "]");
        return;
    }
    if (auto reason = completion.bodyFile.moveTo(saveFileName_); !reason.empty()) {
        raiseError(SaveFailed, reason + " [" + saveFileName_ + "]");
        return;
    }
    completed_ = true;
    host_.DLComplete(clampToInt32(completion.bytesRead));
    if (!downloading_) return; // a handler cancelled; nothing of this download is left to do
    if (std::string reason; !removeCacheCopy(reason)) {
        raiseError(SaveFailed, reason + " [" + saveFileName_ + "]");
        return;
    }
    downloading_ = false;
}

bool bkDLControl::removeCacheCopy(std::string& reason) const {
    if (cacheFile_.empty()) return true;
    std::filesystem::path cache(cacheFile_);
    std::error_code ec;
    // The saved file itself is never the copy to clean up, whatever the reader named.
    if (cache.lexically_normal() == std::filesystem::path(saveFileName_).lexically_normal() ||
        std::filesystem::equivalent(cache, saveFileName_, ec))
        return true;
    std::filesystem::remove(cache, ec); // a copy that is already gone is fine
    if (ec) reason = ec.message();
    return !ec;
}

void bkDLControl::setFileURL(std::string url) {
    fileUrl_ = std::move(url);
    deriveSaveFileName();
    changed("FileURL");
}

void bkDLControl::setSaveFilePath(std::string folder) {
    saveFilePath_ = std::move(folder);
    deriveSaveFileName();
    changed("SaveFilePath");
}

void bkDLControl::setFailOnRedirect(bool on) {
    failOnRedirect_ = on;
    changed("FailOnRedirect");
}

void bkDLControl::setRenameOnRedirect(bool on) {
    renameOnRedirect_ = on;
    changed("RenameOnRedirect");
}

void bkDLControl::setShowProgress(bool on) {
    showProgress_ = on; // shows at the next repaint
    changed("ShowProgress");
}

void bkDLControl::setSaveAs(std::string fileName) {
    saveAs_ = std::move(fileName);
    deriveSaveFileName();
}

void bkDLControl::setLimits(std::int64_t maxBytes, std::chrono::milliseconds deadline) {
    maxBytes_ = maxBytes;
    deadline_ = deadline;
}

void bkDLControl::setBackColor(std::int32_t colour) {
    backColor_ = colour;
    changed("BackColor");
}

void bkDLControl::setForeColor(std::int32_t colour) {
    foreColor_ = colour;
    changed("ForeColor");
}

void bkDLControl::setEnabled(bool on) {
    enabled_ = on;
    changed("Enabled");
}

void bkDLControl::setFont(std::string font) {
    font_ = std::move(font);
    changed("Font");
}

void bkDLControl::setBorderStyle(std::int16_t style) {
    borderStyle_ = style;
    changed("BorderStyle");
}

void bkDLControl::InitProperties(const std::string& ambientFont) {
    font_ = ambientFont;
    fileUrl_.clear();
    saveFilePath_.clear();
    saveFileName_.clear();
    failOnRedirect_ = renameOnRedirect_ = showProgress_ = true;
    fileSize_ = bytesRead_ = 0;
    connectionAddress_.clear();
    cacheFile_.clear();
    redirectFile_.clear();
    mimeType_.clear();
    completed_ = false;
}

void bkDLControl::ReadProperties(const PropertyBag& bag, const std::string& ambientFont) {
    backColor_ = readAs(bag, "BackColor", DefaultBackColor);
    foreColor_ = readAs(bag, "ForeColor", DefaultForeColor);
    enabled_ = readAs(bag, "Enabled", true);
    font_ = readAs(bag, "Font", ambientFont);
    borderStyle_ = static_cast<std::int16_t>(readAs<std::int32_t>(bag, "BorderStyle", 1));
    fileUrl_ = readAs(bag, "FileURL", std::string());
    saveFilePath_ = readAs(bag, "SaveFilePath", std::string());
    deriveSaveFileName();
    failOnRedirect_ = readAs(bag, "FailOnRedirect", true);
    renameOnRedirect_ = readAs(bag, "RenameOnRedirect", true);
    showProgress_ = readAs(bag, "ShowProgress", true);
}

void bkDLControl::WriteProperties(PropertyBag& bag, const std::string& ambientFont) const {
    using V = PropertyBag::Value;
    bag.WriteProperty("BackColor", backColor_, V(DefaultBackColor));
    bag.WriteProperty("ForeColor", foreColor_, V(DefaultForeColor));
    bag.WriteProperty("Enabled", enabled_, V(true));
    bag.WriteProperty("Font", font_, V(ambientFont));
    bag.WriteProperty("BorderStyle", std::int32_t{borderStyle_}, V(std::int32_t{1}));
    bag.WriteProperty("FileURL", fileUrl_, V(std::string()));
    bag.WriteProperty("SaveFilePath", saveFilePath_, V(std::string()));
    bag.WriteProperty("FailOnRedirect", failOnRedirect_, V(true));
    bag.WriteProperty("RenameOnRedirect", renameOnRedirect_, V(true));
    bag.WriteProperty("ShowProgress", showProgress_, V(true));
}

std::optional<bkDLControl::Box> bkDLControl::progressBox(double width, double height) const {
    if (!showProgress_ || !(progress_ > 0)) return std::nullopt;
    return Box{width * static_cast<double>(progress_), height};
}
