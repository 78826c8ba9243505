// download_bench URL FOLDER: downloads URL into FOLDER with the download control and prints the
// seconds it took and how much the process's peak memory grew during the download.
#include "controls/CurlReader.h"
#include "controls/DownloadQueueLoop.h"
#include "controls/bkDLControl.h"

#include <chrono>
#include <fstream>
#include <iostream>
#include <string>

namespace {

class BenchHost : public bkDLHost {
  public:
    DownloadQueueLoop loop;
    void processMessages() override { loop.runPending(std::chrono::milliseconds(100)); }
    void showErrorBox(const std::string& title, const std::string& text) override {
        std::cerr << title << ": " << text << "\n";
    }
    void DLError(std::int32_t error, const std::string& message) override {
        std::cerr << "DLError " << error << " " << message << "\n";
    }
};

// A value in kB from /proc/self/status ("VmRSS", "VmHWM").
long statusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key + ":", 0) == 0) return std::stol(line.substr(key.size() + 1));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    BenchHost host;
    bkDLControl control(host, std::make_unique<CurlReader>(host.loop));
    control.setFileURL(argv[1]);
    control.setSaveFilePath(argv[2]);
    long before = statusKb("VmRSS");
    auto start = std::chrono::steady_clock::now();
    bool written = control.BeginDownload(true);
    std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    long peak = statusKb("VmHWM");
    std::cout << "seconds " << seconds.count() << "\npeak_growth_mb " << (peak - before) / 1024.0 << "\n";
    return written ? 0 : 1;
}
