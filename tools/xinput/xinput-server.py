#!/usr/bin/env python3
# Real X input for the tests: runs xdotool on this tree's X display for programs inside Wine,
# which reach it over a loopback TCP port. One request per line, one answer per request.
#
# Request: xdotool's arguments separated by tabs, e.g. "mousemove\t120\t80\tclick\t1".
# Answer: xdotool's exit status as a decimal number and a line feed, once xdotool has ended
# (124 when it had to be stopped after XDOTOOL_TIMEOUT seconds).
# Only xdotool is ever run, and only 127.0.0.1 is listened on. The server ends by itself after
# IDLE seconds without a request.
#
# Usage: xinput-server.py PORT_FILE [IDLE]   (DISPLAY must name the X display to act on)
import os
import signal
import socket
import subprocess
import sys

# A request that takes longer has hung (xdotool waiting for an event that never comes).
XDOTOOL_TIMEOUT = 20


def run_xdotool(args):
    try:
        return subprocess.run(["xdotool", *args], stdin=subprocess.DEVNULL, timeout=XDOTOOL_TIMEOUT).returncode
    except subprocess.TimeoutExpired:
        return 124


def serve(connection):
    with connection, connection.makefile("rwb", buffering=0) as stream:
        for line in stream:
            args = line.decode("utf-8", "replace").rstrip("\r\n").split("\t")
            status = 0 if args == [""] else run_xdotool(args)
            stream.write(b"%d\n" % status)


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))  # so the port file is removed
    port_file = sys.argv[1]
    idle = float(sys.argv[2]) if len(sys.argv) > 2 else 600
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(4)
    listener.settimeout(idle)
    temporary = port_file + ".new"
    with open(temporary, "w") as f:
        f.write("%d %d\n" % (listener.getsockname()[1], os.getpid()))
    os.replace(temporary, port_file)
    try:
        while True:
            try:
                connection, _ = listener.accept()
            except socket.timeout:
                break
            connection.settimeout(None)
            try:
                serve(connection)
            except OSError:
                pass
    finally:
        try:
            os.remove(port_file)
        except FileNotFoundError:
            pass


if __name__ == "__main__":
    main()
