"""What a person does at an X display, done with the usual command-line tools: find windows
(xdotool), look at the screen (ImageMagick's import), move and click the mouse, type keys
(xdotool through the XTEST extension, so the program sees real input) and read the clipboard
(xclip). Every call has a time limit; a tool that fails raises DesktopError with its message."""

import subprocess
import time

from pictures import read_ppm

TOOLS = ["xvfb-run", "Xvfb", "xauth", "xdotool", "xclip", "import"]


class DesktopError(Exception):
    pass


def run(*args, timeout=10, check=True):
    try:
        done = subprocess.run(args, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise DesktopError("%s did not finish within %d s" % (" ".join(args), timeout))
    if check and done.returncode != 0:
        raise DesktopError("%s failed (%d): %s" % (" ".join(args), done.returncode,
                                                   done.stderr.decode(errors="replace").strip()))
    return done


def visible_windows(pid):
    """The ids of the process's mapped top-level windows (xdotool finds none: status 1)."""
    done = run("xdotool", "search", "--onlyvisible", "--pid", str(pid), check=False)
    return [int(w) for w in done.stdout.split()]


def window_name(window):
    return run("xdotool", "getwindowname", str(window)).stdout.decode(errors="replace").strip()


def window_geometry(window):
    """(x, y, width, height) of a window on the screen."""
    out = run("xdotool", "getwindowgeometry", "--shell", str(window)).stdout.decode()
    values = dict(line.split("=", 1) for line in out.split())
    return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def screenshot():
    return read_ppm(run("import", "-window", "root", "-depth", "8", "ppm:-").stdout)


def focus(window):
    # Xvfb runs no window manager, so the window is given the keyboard directly.
    run("xdotool", "windowfocus", "--sync", str(window))


def key(*names):
    run("xdotool", "key", "--clearmodifiers", *names)


def move_to(x, y):
    run("xdotool", "mousemove", "--sync", str(x), str(y))


def drag(start, end, steps=8, pause=0.03):
    """Presses the left button at `start`, moves to `end` in even steps as a hand would, and
    lets go there."""
    move_to(*start)
    run("xdotool", "mousedown", "1")
    for i in range(1, steps + 1):
        time.sleep(pause)
        move_to(start[0] + (end[0] - start[0]) * i // steps,
                start[1] + (end[1] - start[1]) * i // steps)
    time.sleep(pause)
    run("xdotool", "mouseup", "1")


def clipboard_targets():
    done = run("xclip", "-selection", "clipboard", "-t", "TARGETS", "-o", check=False)
    return done.stdout.decode(errors="replace").split()


def clipboard(target):
    return run("xclip", "-selection", "clipboard", "-t", target, "-o").stdout
