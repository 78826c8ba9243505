// appstore: the bundled web app store and maker's update server. Prints
// "appstore listening on http://HOST:PORT" once it accepts connections, then one line per request
// on stderr; SIGINT and SIGTERM end it cleanly.

#include "EmbeddedFiles.h"
#include "StoreCatalog.h"
#include "StoreOptions.h"
#include "StoreServer.h"
#include "base/Folders.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

int main(int argc, char** argv) {
    std::string error;
    const auto options = appstore::StoreOptions::parse({argv + 1, static_cast<std::size_t>(argc - 1)}, error);
    if (!options) {
        std::fputs(appstore::StoreOptions::usage(), error.empty() ? stdout : stderr);
        if (!error.empty()) std::fprintf(stderr, "appstore: %s\n", error.c_str());
        return error.empty() ? 0 : 2;
    }

    // Block the stop signals in every thread; one thread waits for them and stops the server.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        const auto folder = options->dataFolder.empty() ? base::Folders::ofThisProgram().data / "store-data"
                                                        : options->dataFolder;
        const appstore::StoreCatalog catalog(folder, appstore::embedded::seedSql);
        appstore::StoreServer server(catalog, *options);
        const int port = server.bind();
        if (port < 0) {
            std::fprintf(stderr, "appstore: cannot listen on %s:%d\n", options->host.c_str(), options->port);
            return 1;
        }
        std::printf("appstore listening on http://%s:%d\n", options->host.c_str(), port);
        std::fflush(stdout);

        std::jthread stopper([&server, stopSignals] {
            int signal = 0;
            sigwait(&stopSignals, &signal);
            server.stop();
        });
        server.run();
        // The server also ends when it fails; wake the stopper so that it can be joined.
        pthread_kill(stopper.native_handle(), SIGTERM);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "appstore: %s\n", e.what());
        return 1;
    }
    return 0;
}
