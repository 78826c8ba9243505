#include "StoreProcess.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

std::filesystem::path builtAppFolder() {
    const char* folder = std::getenv("BRINDLE_APP_DIR");
    if (!folder) throw std::runtime_error("BRINDLE_APP_DIR is not set");
    return folder;
}

StoreProcess::StoreProcess(const std::vector<std::string>& extraArgs) {
    std::vector<std::string> args{"--port", "0", "--data", (data_.path() / "store").string()};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    process_ =
        std::make_unique<ChildProcess>(builtAppFolder() / "appstore", args, true, data_.path() / "store.log");
    const auto line = process_->readLine(std::chrono::seconds(20));
    const std::string prefix = "appstore listening on http://127.0.0.1:";
    if (!line || !line->starts_with(prefix)) throw std::runtime_error("appstore did not start: " + log());
    port_ = std::stoi(line->substr(prefix.size()));
}

std::string StoreProcess::log() const {
    std::ifstream file(data_.path() / "store.log");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}
