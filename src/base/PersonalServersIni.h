#pragma once
// A user's own copy of the program's Servers.ini, for installations shared by the users of a machine.

#include <string>

namespace base {

// programIni with its bundled store on the loopback port 8780 moved to a port of the user's own
// (20000 + user id modulo 10000), so that users of one machine each run their own store, and one
// user's quitting never takes another's away. Comments and other servers are copied as they are.
std::string personalServersIni(const std::string& programIni, unsigned userId);

} // namespace base
