#pragma once

namespace olg::testing {

// A pyftpdlib server with the devices' account, run as `python3 -c FtpServerScript FOLDER PORT` on 127.0.0.1:
// the user name's Windows-1252 bytes read as Latin-1 (this version reads commands as UTF-8 unless told
// otherwise), an empty password. Prints "ready" once it listens.
inline const char* const FtpServerScript = R"(
import sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
class Latin1Handler(FTPHandler):
    encoding = "latin-1"
    def decode(self, data):
        return data.decode("latin-1")
authorizer = DummyAuthorizer()
authorizer.add_user(b"\xa9quorbel".decode("latin-1"), "", sys.argv[1], perm="elradfmw")
Latin1Handler.authorizer = authorizer
server = FTPServer(("127.0.0.1", int(sys.argv[2])), Latin1Handler)
print("ready", flush=True)
server.serve_forever()
)";

} // namespace olg::testing
