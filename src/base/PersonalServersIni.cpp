#include "base/PersonalServersIni.h"

#include <cctype>
#include <string>

namespace base {

std::string personalServersIni(const std::string& programIni, unsigned userId) {
    const std::string port = std::to_string(20000 + userId % 10000);
    std::string out;
    std::size_t begin = 0;
    while (begin < programIni.size()) {
        std::size_t end = programIni.find('\n', begin);
        end = end == std::string::npos ? programIni.size() : end + 1;
        std::string line = programIni.substr(begin, end - begin);
        begin = end;
        const std::size_t first = line.find_first_not_of(" \t");
        const bool comment = first == std::string::npos || line[first] == ';' || line[first] == '#';
        const std::size_t equals = line.find('=');
        if (!comment && equals != std::string::npos) {
            for (const std::string host : {"//127.0.0.1:8780", "//localhost:8780"}) {
                const std::size_t at = line.find(host, equals);
                if (at == std::string::npos) continue;
                const std::size_t after = at + host.size();
                if (after < line.size() && std::isdigit(static_cast<unsigned char>(line[after]))) continue;
                line.replace(after - 4, 4, port); // the digits of 8780
                break;
            }
        }
        out += line;
    }
    return out;
}

} // namespace base
