#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A stand-in for ssh in the SFTP engine's tests; the host name argument picks what it does:
  silent     takes the INIT and never answers
  oversized  answers the INIT with a packet longer than any client takes
  exits      says that the connection was refused and ends with status 255
"""
import sys
import time

host = sys.argv[-2] if len(sys.argv) >= 3 else ""
if host == "exits":
    sys.stderr.write("debug1: Connecting to exits port 22.\n")
    sys.stderr.write("ssh: connect to host exits port 22: Connection refused\n")
    sys.exit(255)
sys.stdin.buffer.read(9)
if host == "oversized":
    sys.stdout.buffer.write((1 << 20).to_bytes(4, "big") + b"\x02" + b"\0" * 4096)
    sys.stdout.buffer.flush()
for _ in range(600):
    time.sleep(0.1)
