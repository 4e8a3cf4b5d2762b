# SPDX-License-Identifier: GPL-3.0-or-later
"""A pyftpdlib server for tests and demos: serves --root on 127.0.0.1 and a port chosen by the
system (or --port), and prints that port on its first line of output. With --watch-stdin it ends
when its standard input closes, so that it never outlives the test that started it. With
--log-sessions it logs logins, folder changes, listings and the end of every session on standard
error. With --ignore-quit it plays a server that never answers QUIT."""

import argparse
import logging
import os
import sys
import threading
import time
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="user")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--permit-foreign-addresses", action="store_true")
    parser.add_argument("--watch-stdin", action="store_true")
    parser.add_argument("--log-sessions", action="store_true")
    parser.add_argument("--tls-certificate",
                        help="explicit TLS with this certificate, required for login and data")
    parser.add_argument("--tls-key")
    parser.add_argument("--throttle", type=int, default=0,
                        help="send downloads at most this many bytes a second")
    parser.add_argument("--throttle-upload", type=int, default=0,
                        help="take uploads at most this many bytes a second")
    parser.add_argument("--ignore-quit", action="store_true",
                        help="never answer QUIT and keep the connection open")
    parser.add_argument("--max-cons-per-ip", type=int, default=0,
                        help="control connections from one address at a time (0: no limit)")
    parser.add_argument("--raw-names", action="store_true",
                        help="take and send file names as the bytes on disk, whatever their "
                             "character set, and leave UTF8 out of FEAT")
    parser.add_argument("--idle-timeout", type=int, default=0,
                        help="drop a session with 421 after so many idle seconds (0: never)")
    args = parser.parse_args()

    logging.basicConfig(level=logging.INFO if args.log_sessions else logging.ERROR)
    # Anonymous write access is what the tests want.
    warnings.filterwarnings("ignore", category=RuntimeWarning)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    authorizer.add_anonymous(args.root, perm="elradfmwMT")

    base = FTPHandler
    if args.tls_certificate:
        from pyftpdlib.handlers import TLS_FTPHandler
        base = TLS_FTPHandler

    class Handler(base):
        if args.ignore_quit:
            def ftp_QUIT(self, line):
                self.log("QUIT left unanswered")

        if args.raw_names:
            # Undecodable bytes become surrogates and go back to the same bytes, on the
            # control connection, in listings and on disk.
            unicode_errors = "surrogateescape"

            def push(self, s):
                if getattr(self, "_in_feat", False):
                    s = s.replace(" UTF8\r\n", "")
                super(FTPHandler, self).push(s.encode("utf8", "surrogateescape"))

            def ftp_FEAT(self, line):
                self._in_feat = True
                try:
                    base.ftp_FEAT(self, line)
                finally:
                    self._in_feat = False

        # pyftpdlib's own idle timer stops counting after the first command.
        if args.idle_timeout > 0:
            def on_connect(self):
                self._last_command = time.monotonic()
                self._idle_check = self.ioloop.call_every(0.2, self._check_idle)

            def on_disconnect(self):
                self._idle_check.cancel()

            def found_terminator(self):
                self._last_command = time.monotonic()
                super().found_terminator()

            def _check_idle(self):
                idle = time.monotonic() - self._last_command
                if idle >= args.idle_timeout and self.data_channel is None:
                    self._idle_check.cancel()
                    self.respond("421 Control connection timed out.")
                    self.close_when_done()

    if args.tls_certificate:
        Handler.certfile = args.tls_certificate
        Handler.keyfile = args.tls_key
        Handler.tls_control_required = True
        Handler.tls_data_required = True

    Handler.authorizer = authorizer
    # Listings too: a test sees when a window lists a folder anew.
    Handler.log_cmds_list = FTPHandler.log_cmds_list + ["LIST", "MLSD"]
    Handler.permit_foreign_addresses = args.permit_foreign_addresses
    Handler.banner = "pyftpdlib test server ready."
    if args.throttle > 0 or args.throttle_upload > 0:
        class Throttled(ThrottledDTPHandler):
            write_limit = args.throttle
            read_limit = args.throttle_upload

        Handler.dtp_handler = Throttled

    server = FTPServer(("127.0.0.1", args.port), Handler)
    server.max_cons_per_ip = args.max_cons_per_ip
    print(server.address[1], flush=True)

    def watch_stdin():
        sys.stdin.read()
        os._exit(0)

    if args.watch_stdin:
        threading.Thread(target=watch_stdin, daemon=True).start()
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
