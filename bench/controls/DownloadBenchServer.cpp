// download_bench_server SIZE_MB PORT_FILE: serves /file.bin (SIZE_MB megabytes) on 127.0.0.1 at a
// free port, which it writes to PORT_FILE, until it is terminated.
#include <fstream>
#include <httplib.h>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::size_t size = std::stoul(argv[1]) * 1024 * 1024;
    static const std::string piece(1024 * 1024, 'b');
    httplib::Server server;
    server.Get("/file.bin", [size](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(size, "application/octet-stream",
                                 [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                     (void)offset;
                                     return sink.write(piece.data(), std::min(length, piece.size()));
                                 });
    });
    int port = server.bind_to_any_port("127.0.0.1");
    std::ofstream(argv[2]) << port << "\n";
    return server.listen_after_bind() ? 0 : 1;
}
