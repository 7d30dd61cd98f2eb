#!/usr/bin/env python3
# Checks which requests the X input server runs: the input the end-to-end tests send is let
# through, anything else (other xdotool commands, options, odd arguments) is refused.
import os
import runpy
import sys

# The server's functions, without running it (its file name is not a module name).
allowed = runpy.run_path(os.path.join(os.path.dirname(os.path.abspath(__file__)), "xinput-server.py"))["allowed"]

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
    "search\t--name\tKeyloom\twindowkill",
    "windowactivate\t1",
    "getmouselocation",
]

failures = [r for r in ALLOWED if not allowed(r.split("\t"))]
failures += [r for r in REFUSED if allowed(r.split("\t"))]
for request in failures:
    print("wrong answer for %r" % request, file=sys.stderr)
print("%d of %d requests judged right" % (len(ALLOWED) + len(REFUSED) - len(failures), len(ALLOWED) + len(REFUSED)))
sys.exit(1 if failures else 0)
