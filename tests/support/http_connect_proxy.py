# SPDX-License-Identifier: GPL-3.0-or-later
"""An HTTP CONNECT proxy for tests on 127.0.0.1 and a port chosen by the system, which it prints
on its first line of output; it ends when its standard input closes. With --user and --password
it answers 407 to a request without those Basic credentials. --refuse answers every request
with 403; --malformed answers with a line that is not HTTP; --endless-header sends header
lines without end."""

import argparse
import base64
import select
import socket
import sys
import threading


def read_header(client):
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = client.recv(4096)
        if not chunk or len(data) > 65536:
            return None
        data += chunk
    return data.split(b"\r\n\r\n", 1)[0].decode("latin-1")


def relay(client, server):
    sockets = [client, server]
    while True:
        readable, _, _ = select.select(sockets, [], [], 60)
        if not readable:
            return
        for source in readable:
            data = source.recv(65536)
            if not data:
                return
            (server if source is client else client).sendall(data)


def serve(client, args):
    with client:
        header = read_header(client)
        if header is None:
            return
        lines = header.split("\r\n")
        parts = lines[0].split(" ")
        if args.malformed:
            client.sendall(b"SOCKS? no\r\n\r\n")
            return
        if args.endless_header:
            client.sendall(b"HTTP/1.1 200 OK\r\n")
            try:
                while True:
                    client.sendall(b"X-Filler: " + b"a" * 1000 + b"\r\n")
            except OSError:
                return
        if args.refuse:
            client.sendall(b"HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n")
            return
        if args.user:
            expected = base64.b64encode(f"{args.user}:{args.password}".encode()).decode()
            given = [line.split(":", 1)[1].strip() for line in lines[1:]
                     if line.lower().startswith("proxy-authorization:")]
            if given != ["Basic " + expected]:
                client.sendall(b"HTTP/1.1 407 Proxy Authentication Required\r\n"
                               b"Proxy-Authenticate: Basic realm=\"test\"\r\n\r\n")
                return
        if len(parts) != 3 or parts[0] != "CONNECT":
            client.sendall(b"HTTP/1.1 400 Bad Request\r\n\r\n")
            return
        host, _, port = parts[1].rpartition(":")
        try:
            server = socket.create_connection((host.strip("[]"), int(port)), timeout=10)
        except OSError:
            client.sendall(b"HTTP/1.1 502 Bad Gateway\r\n\r\n")
            return
        with server:
            client.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
            relay(client, server)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--user")
    parser.add_argument("--password", default="")
    parser.add_argument("--refuse", action="store_true")
    parser.add_argument("--malformed", action="store_true")
    parser.add_argument("--endless-header", action="store_true")
    args = parser.parse_args()

    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    print(listener.getsockname()[1], flush=True)

    def accept():
        while True:
            client, _ = listener.accept()
            threading.Thread(target=serve, args=(client, args), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()
    sys.stdin.read()


if __name__ == "__main__":
    main()
