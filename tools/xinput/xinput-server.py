#!/usr/bin/env python3
# Real X input for the tests: runs xdotool on this tree's X display for programs inside Wine,
# which reach it over a loopback TCP port. One request per line, one answer per request.
#
# Only this user's programs are served: the server writes its port, a new secret cookie and its pid
# ("PORT COOKIE PID") to PORT_FILE, which only this user may read, and a client must send that
# cookie as the first line of its connection. A connection that does not is closed without an answer and nothing is run.
#
# Request: xdotool's arguments separated by tabs, e.g. "mousemove\t120\t80\tsleep\t0.05\tclick\t1".
# Only the input the tests make is run, as a chain of these commands:
#   mousemove X Y        X, Y 0..9999
#   sleep SECONDS        0..2, e.g. 0.05
#   click BUTTON         1 (left) or 3 (right)
#   key [--repeat N] KEY N 1..64, KEY one of KEYS below
#   type --delay MS TEXT MS 0..1000, TEXT 1..64 printable ASCII characters, not starting with "-"
#                        unless it is "-" alone (xdotool would take it as an option); ends the chain
# Answer: xdotool's exit status as a decimal number and a line feed, once xdotool has ended
# (124 when it had to be stopped after XDOTOOL_TIMEOUT seconds, 125 when the request is not one of
# the above and nothing was run). Only 127.0.0.1 is listened on. The server ends by itself after
# IDLE seconds without a request.
#
# Usage: xinput-server.py PORT_FILE [IDLE]   (DISPLAY must name the X display to act on)
import hmac
import os
import re
import secrets
import signal
import socket
import subprocess
import sys

# A request that takes longer has hung (xdotool waiting for an event that never comes).
XDOTOOL_TIMEOUT = 20
TIMED_OUT = 124
REFUSED = 125
MAX_LINE = 1024
# A client of ours sends its cookie at once; a connection that keeps silent longer is dropped, so
# that nobody can hold the server.
COOKIE_WAIT = 2
MAX_COMMANDS = 4

KEYS = {"Escape", "Return", "BackSpace", "Home", "End", "Right"}
BUTTONS = {"1", "3"}
PRINTABLE = re.compile(r"[ -~]{1,64}")


def whole(text, low, high):
    return text.isdigit() and len(text) <= 4 and low <= int(text) <= high


def seconds(text):
    return re.fullmatch(r"[0-9](\.[0-9]{1,3})?", text) is not None and float(text) <= 2


def typed_as_is(text):
    """True for printable ASCII that xdotool types rather than takes as an option: "-" alone, or
    text that does not start with "-" (such as "--file=PATH", which would type a file's content)."""
    return PRINTABLE.fullmatch(text) is not None and (text == "-" or not text.startswith("-"))


def command_length(args):
    """How many arguments the command at the head of args takes, itself included; 0 when refused."""
    name = args[0]
    if name == "mousemove":
        return 3 if len(args) >= 3 and whole(args[1], 0, 9999) and whole(args[2], 0, 9999) else 0
    if name == "sleep":
        return 2 if len(args) >= 2 and seconds(args[1]) else 0
    if name == "click":
        return 2 if len(args) >= 2 and args[1] in BUTTONS else 0
    if name == "key":
        if len(args) >= 4 and args[1] == "--repeat":
            return 4 if whole(args[2], 1, 64) and args[3] in KEYS else 0
        return 2 if len(args) >= 2 and args[1] in KEYS else 0
    if name == "type":
        # xdotool types every argument that follows, so the text is the last one.
        ok = len(args) == 4 and args[1] == "--delay" and whole(args[2], 0, 1000) and typed_as_is(args[3])
        return 4 if ok else 0
    return 0


def allowed(args):
    commands = 0
    while args:
        length = command_length(args)
        commands += 1
        if length == 0 or commands > MAX_COMMANDS:
            return False
        args = args[length:]
    return commands > 0


def run_xdotool(args):
    if not allowed(args):
        print("refused: %r" % (args,), file=sys.stderr, flush=True)
        return REFUSED
    try:
        return subprocess.run(["xdotool", *args], stdin=subprocess.DEVNULL, timeout=XDOTOOL_TIMEOUT).returncode
    except subprocess.TimeoutExpired:
        return TIMED_OUT


def serve(connection, cookie):
    with connection, connection.makefile("rwb", buffering=0) as stream:
        connection.settimeout(COOKIE_WAIT)
        presented = stream.readline(MAX_LINE + 1).rstrip(b"\r\n")
        if not hmac.compare_digest(presented, cookie):
            if presented:
                print("refused a client without the cookie", file=sys.stderr, flush=True)
            return
        connection.settimeout(None)
        while True:
            line = stream.readline(MAX_LINE + 1)
            if not line:
                return
            if len(line) > MAX_LINE or not line.endswith(b"\n"):
                stream.write(b"%d\n" % REFUSED)
                return
            args = line.decode("ascii", "replace").rstrip("\r\n").split("\t")
            stream.write(b"%d\n" % run_xdotool(args))


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))  # so the port file is removed
    port_file = sys.argv[1]
    idle = float(sys.argv[2]) if len(sys.argv) > 2 else 600
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(4)
    listener.settimeout(idle)
    cookie = secrets.token_hex(16).encode()
    # Written under another name, only this user allowed to read it, and renamed when complete.
    temporary = port_file + ".new"
    try:
        os.remove(temporary)
    except FileNotFoundError:
        pass
    fd = os.open(temporary, os.O_WRONLY | os.O_CREAT | os.O_EXCL | os.O_NOFOLLOW, 0o600)
    with os.fdopen(fd, "w") as f:
        f.write("%d %s %d\n" % (listener.getsockname()[1], cookie.decode(), os.getpid()))
    os.replace(temporary, port_file)
    try:
        while True:
            try:
                connection, _ = listener.accept()
            except socket.timeout:
                break
            try:
                serve(connection, cookie)
            except OSError:
                pass
    finally:
        try:
            os.remove(port_file)
        except FileNotFoundError:
            pass


if __name__ == "__main__":
    main()
