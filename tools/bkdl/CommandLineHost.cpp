#include "CommandLineHost.h"

#include "base/Text.h"
#include "controls/bkDLControl.h"

#include <algorithm>
#include <charconv>
#include <ostream>

namespace {

std::string shortest(float value) {
    char buffer[32];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

} // namespace

void CommandLineHost::cancelAfter(bkDLControl& control, std::chrono::milliseconds delay) {
    cancelled_ = &control;
    cancelAt_ = std::chrono::steady_clock::now() + delay;
}

void CommandLineHost::processMessages() {
    auto wait = std::chrono::milliseconds(100);
    if (cancelAt_) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*cancelAt_ -
                                                                          std::chrono::steady_clock::now());
        wait = std::clamp(left, std::chrono::milliseconds(0), wait);
    }
    loop_.runPending(wait);
    if (cancelAt_ && std::chrono::steady_clock::now() >= *cancelAt_) {
        cancelAt_.reset();
        cancelled_->CancelDownload();
    }
}

void CommandLineHost::showErrorBox(const std::string& title, const std::string& text) {
    line("MessageBox " + title + " | " + base::replaceAll(text, "\r\n", "\\r\\n"));
}

void CommandLineHost::DLProgress(float percent, std::int32_t bytesRead, std::int32_t totalBytes) {
    line("DLProgress " + shortest(percent) + " " + std::to_string(bytesRead) + " " +
         std::to_string(totalBytes));
}

void CommandLineHost::DLCanceled() {
    line("DLCanceled");
}

void CommandLineHost::DLError(std::int32_t error, const std::string& message) {
    line("DLError " + std::to_string(error) + " " + message);
}

void CommandLineHost::DLComplete(std::int32_t bytes) {
    line("DLComplete " + std::to_string(bytes));
}

void CommandLineHost::DLConnected(const std::string& connAddr) {
    line("DLConnected " + connAddr);
}

void CommandLineHost::DLRedirect(const std::string& fileName) {
    line("DLRedirect " + fileName);
}

void CommandLineHost::DLCacheFile(const std::string& fileName) {
    line("DLCacheFile " + fileName);
}

void CommandLineHost::DLMIMEType(const std::string& mimeType) {
    line("DLMIMEType " + mimeType);
}

void CommandLineHost::DLFileSize(std::int32_t totalBytes) {
    line("DLFileSize " + std::to_string(totalBytes));
}

void CommandLineHost::DLBeginDownload() {
    line("DLBeginDownload");
}

void CommandLineHost::line(const std::string& text) {
    out_ << text << std::endl;
}
