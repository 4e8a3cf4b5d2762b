# SPDX-License-Identifier: GPL-3.0-or-later
"""A scripted SFTP server (asyncssh) on 127.0.0.1 for the tests of the SFTP engine.

Logins: the password "secret" (modes password, stall, drop, hostile), or keyboard-interactive
with one question "Verification code: " answered "4242" (mode kbdint). Files are served from
--root. Misbehaving modes:
  stall    READ requests beyond the first block are never answered
  drop     the connection is cut at the second READ request
  hostile  every listing holds names no file can have, beside one good name

Prints "ready" once it listens on --port.
"""
import argparse
import asyncio
import sys
import warnings

warnings.filterwarnings("ignore")
import asyncssh  # noqa: E402

BLOCK = 32 * 1024


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--mode", required=True,
                        choices=["password", "kbdint", "stall", "drop", "hostile"])
    parser.add_argument("--root", required=True)
    parser.add_argument("--host-key", required=True)
    parser.add_argument("--port", type=int, required=True)
    args = parser.parse_args()
    mode = args.mode

    class Server(asyncssh.SSHServer):
        def begin_auth(self, username):
            return True

        def password_auth_supported(self):
            return mode != "kbdint"

        def validate_password(self, username, password):
            return password == "secret"

        def kbdint_auth_supported(self):
            return mode == "kbdint"

        def get_kbdint_challenge(self, username, lang, submethods):
            return "Two-step login", "Answer the question.", "", [("Verification code: ", False)]

        def validate_kbdint_response(self, username, responses):
            return list(responses) == ["4242"]

    class Sftp(asyncssh.SFTPServer):
        def __init__(self, chan):
            super().__init__(chan, chroot=args.root.encode())
            self.reads = 0

        async def read(self, file_obj, offset, size):
            self.reads += 1
            if mode == "stall" and offset >= BLOCK:
                await asyncio.sleep(3600)
            if mode == "drop" and self.reads >= 2:
                self.channel.get_connection().abort()
                await asyncio.sleep(3600)
            file_obj.seek(offset)
            return file_obj.read(size)

        def listdir(self, path):
            if mode != "hostile":
                return super().listdir(path)
            attrs = asyncssh.SFTPAttrs(permissions=0o100644, size=5, uid=0, gid=0,
                                       atime=1700000000, mtime=1700000000)
            names = [b"good.txt", b"a/b", b"..", b".", b"", b"line\nbreak", b"car\rriage",
                     b"nul\0byte", b"../escape"]
            return [asyncssh.SFTPName(name, attrs=attrs) for name in names]

    async def start():
        await asyncssh.create_server(Server, "127.0.0.1", args.port,
                                     server_host_keys=[args.host_key], sftp_factory=Sftp)
        print("ready", flush=True)

    loop = asyncio.new_event_loop()
    loop.run_until_complete(start())
    try:
        loop.run_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
