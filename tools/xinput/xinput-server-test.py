#!/usr/bin/env python3
# Checks which requests the X input server runs: the input the end-to-end tests send is let
# through, anything else (other xdotool commands, options, odd arguments) is refused; and whom it
# serves: only a client that sends the cookie of its port file first.
import os
import runpy
import socket
import subprocess
import sys
import tempfile
import time

SERVER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "xinput-server.py")
# The server's functions, without running it (its file name is not a module name).
allowed = runpy.run_path(SERVER)["allowed"]

ALLOWED = [
    "mousemove\t120\t80\tsleep\t0.05\tclick\t1",
    "mousemove\t0\t1023\tsleep\t0.05\tclick\t3",
    "type\t--delay\t40\tFFFFFFFFFFFF",
    "type\t--delay\t40\t ",
    "type\t--delay\t40\t-",
    "key\tEscape",
    "key\tReturn",
    "key\tEnd\tkey\t--repeat\t12\tBackSpace",
    "key\tHome\tkey\tRight",
]

REFUSED = [
    "",
    "exec\tsh\t-c\ttouch /tmp/x",
    "key\tEnd\texec\tsh",
    "mousemove\t--sync\t1\t2",
    "mousemove\t-5\t2",
    "mousemove\t1\t2\tclick",
    "click\t2",
    "click\t1\tclick\t1\tclick\t1\tclick\t1\tclick\t1",
    "sleep\t30",
    "sleep\t1e9",
    "key\tctrl+alt+BackSpace",
    "key\t--repeat\t1000\tBackSpace",
    "key\t--window\t1\tReturn",
    "type\tabc",
    "type\t--delay\t40\tabc\tdef",
    "type\t--delay\t40\t",
    "type\t--delay\t40\t\u0434",
    "type\t--delay\t40\t" + "A" * 65,
    "type\t--delay\t40\tA\tkey\tReturn",
    "type\t--delay\t40\t--file=/etc/passwd",
    "type\t--delay\t40\t-file=/etc/passwd",
    "type\t--delay\t40\t--",
    "type\t--delay\t40\t-h",
    "search\t--name\tKeyloom\twindowkill",
    "windowactivate\t1",
    "getmouselocation",
]

failures = ["wrong answer for %r" % r for r in ALLOWED if not allowed(r.split("\t"))]
failures += ["wrong answer for %r" % r for r in REFUSED if allowed(r.split("\t"))]
print("%d of %d requests judged right" % (len(ALLOWED) + len(REFUSED) - len(failures), len(ALLOWED) + len(REFUSED)))


def ask(port, lines):
    """The server's answer to one connection that sends lines; b"" when it closes the connection
    without one or gives none within 10 s."""
    with socket.create_connection(("127.0.0.1", port), timeout=10) as client:
        answer = b""
        try:
            client.sendall(b"".join(line + b"\n" for line in lines))
            while not answer.endswith(b"\n"):
                chunk = client.recv(64)
                if not chunk:
                    break
                answer += chunk
        except (ConnectionResetError, socket.timeout):  # closed with our lines unread, or no answer
            pass
        return answer


# The real server, asked only requests it refuses, so that no X display is needed.
with tempfile.TemporaryDirectory() as folder:
    port_file = os.path.join(folder, "xinput.port")
    server = subprocess.Popen([sys.executable, SERVER, port_file, "60"], stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            if os.path.exists(port_file):
                break
            time.sleep(0.1)
        with open(port_file) as f:
            port, cookie, _ = f.read().split()
        port, cookie = int(port), cookie.encode()
        if os.stat(port_file).st_mode & 0o077:
            failures.append("others may read the port file and its cookie")
        refused = b"key\tctrl+alt+BackSpace"
        clients = [
            ("the cookie", [cookie, refused], b"125\n"),
            ("no cookie", [refused], b""),
            ("an empty line", [b"", refused], b""),
            ("a wrong cookie", [b"0" * len(cookie), refused], b""),
            ("half the cookie", [cookie[:16], refused], b""),
        ]
        for who, lines, expected in clients:
            answer = ask(port, lines)
            if answer != expected:
                failures.append("a client that sends %s got %r, not %r" % (who, answer, expected))
        # A client that keeps silent is dropped, and holds up nobody for long.
        with socket.create_connection(("127.0.0.1", port)):
            start = time.monotonic()
            if ask(port, [cookie, refused]) != b"125\n" or time.monotonic() - start > 5:
                failures.append("a silent client held the server up")
        print("%d clients judged" % (len(clients) + 1))
    finally:
        server.terminate()
        server.wait()

for failure in failures:
    print(failure, file=sys.stderr)
sys.exit(1 if failures else 0)
