#!/usr/bin/env python3
"""End-to-end test of the real viewer: starts tavro in its own Xvfb server on a set written for
the purpose and drives it with xdotool and xclip as a person would (see viewer_session.py).

    run_e2e.py --tavro PATH --render PATH --work DIR [--sanitized]

DIR is emptied and then keeps the set, the expected pictures, the screenshots, the copied bitmap
and the viewer's output for a person to look at. --sanitized: the programs are built with the
sanitizers; the idle-cost figures are printed but not held to their limits.

Exit status: 0 every step passed, 1 a step failed or a needed tool is missing, 77 (the test is
skipped) only when no X server could be started.
"""

import argparse
import os
import shutil
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import xdesktop  # noqa: E402

SKIPPED = 77
SCREEN = "1280x1024x24"
TIME_LIMIT = 170  # seconds for the whole session, server start included
INSIDE = "TAVRO_E2E_INSIDE_X"  # set for the second run of this script, under xvfb-run


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tavro", required=True)
    parser.add_argument("--render", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--sanitized", action="store_true")
    return parser.parse_args()


def started_marker(work):
    return os.path.join(work, "x-server-started")


def inside_x(args):
    """The session itself, run by xvfb-run once the server is up. (When every server it tried
    failed, `xvfb-run -a` runs it all the same, with a display that is not there.)"""
    try:
        screen = xdesktop.run("xdotool", "getdisplaygeometry").stdout.decode().strip()
    except xdesktop.DesktopError as e:
        print("e2e: the X display %s cannot be reached: %s" % (os.environ.get("DISPLAY"), e))
        return 1
    open(started_marker(args.work), "w").close()
    print("e2e: X display %s, screen %s" % (os.environ.get("DISPLAY"), screen.replace(" ", "x")))
    from viewer_session import Session
    return 0 if Session(args.tavro, args.render, args.work, args.sanitized).run() else 1


def start_x_and_run(args):
    missing = [tool for tool in xdesktop.TOOLS if shutil.which(tool) is None]
    missing += [p for p in (args.tavro, args.render) if not os.access(p, os.X_OK)]
    if missing:
        print("e2e: missing %s (tools/install-deps.sh installs the tools)" % ", ".join(missing))
        return 1
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    server_log = os.path.join(args.work, "xvfb.log")
    command = ["xvfb-run", "-a", "-e", server_log, "-s", "-screen 0 " + SCREEN,
               sys.executable, os.path.abspath(__file__), *sys.argv[1:]]
    try:
        done = subprocess.run(command, env=dict(os.environ, **{INSIDE: "1"}),
                              timeout=TIME_LIMIT)
    except subprocess.TimeoutExpired:
        print("e2e: the session took longer than %d s" % TIME_LIMIT)
        return 1
    if not os.path.exists(started_marker(args.work)):
        # The session never found its display: the server did not come up here.
        reason = ""
        if os.path.exists(server_log):
            with open(server_log, errors="replace") as f:
                # Every server tried says the same: once is enough.
                reason = "; ".join(dict.fromkeys(line.strip() for line in f if line.strip()))
        print("e2e: SKIPPED: no X server could be started (xvfb-run status %d)%s" % (
            done.returncode, ": " + reason if reason else ""))
        return SKIPPED
    print("e2e: screenshots, the copied bitmap and the viewer's output are in %s" % args.work)
    return done.returncode


def main():
    args = parse_args()
    if os.environ.get(INSIDE):
        return inside_x(args)
    return start_x_and_run(args)


if __name__ == "__main__":
    sys.exit(main())
