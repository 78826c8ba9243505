// bkdl URL FOLDER [--wait] [--no-fail-on-redirect] [--no-rename-on-redirect] [--cancel-after-ms N]
//
// Downloads URL into FOLDER with the download control and prints every event, one a line in the
// order raised, then the save file name and what BeginDownload returned. Exit status: 0 when the
// file was written, 1 when the download failed or was cancelled, 2 for a usage error.

#include "CommandLineHost.h"
#include "controls/CurlReader.h"
#include "controls/bkDLControl.h"

#include <iostream>
#include <memory>
#include <string>

namespace {

int usage() {
    std::cerr << "usage: bkdl URL FOLDER [--wait] [--no-fail-on-redirect] [--no-rename-on-redirect]"
                 " [--cancel-after-ms N]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    bool wait = false, failOnRedirect = true, renameOnRedirect = true;
    long long cancelAfterMs = -1;
    for (int i = 3; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--wait") {
            wait = true;
        } else if (option == "--no-fail-on-redirect") {
            failOnRedirect = false;
        } else if (option == "--no-rename-on-redirect") {
            renameOnRedirect = false;
        } else if (option == "--cancel-after-ms" && i + 1 < argc) {
            char* end = nullptr;
            cancelAfterMs = std::strtoll(argv[++i], &end, 10);
            if (*end || cancelAfterMs < 0) return usage();
        } else {
            return usage();
        }
    }

    CommandLineHost host(std::cout);
    bkDLControl control(host, std::make_unique<CurlReader>(host.loop()));
    control.setFileURL(argv[1]);
    control.setSaveFilePath(argv[2]);
    control.setFailOnRedirect(failOnRedirect);
    control.setRenameOnRedirect(renameOnRedirect);
    if (cancelAfterMs >= 0) host.cancelAfter(control, std::chrono::milliseconds(cancelAfterMs));

    bool result = control.BeginDownload(wait);
    while (control.downloading())
        host.processMessages();
    std::cout << "SaveFileName " << control.SaveFileName() << "\nBeginDownload "
              << (result ? "true" : "false") << std::endl;
    return control.completed() ? 0 : 1;
}
