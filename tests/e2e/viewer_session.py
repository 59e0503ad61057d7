"""One session with the real viewer at an X display, step by step as a person would play: look at
the set, drag a free object and a fixed one, copy the picture, switch sets with the digit keys,
save, watch an alarm animate, and leave through the menu. Between the steps it measures what the
idle viewer costs. Each step is reported PASS or FAIL with what it saw; later steps go on from the
state the window is really in, so one fault does not hide the others."""

import os
import subprocess
import time

import e2e_set
import xdesktop
from pictures import clipboard_bmp, difference, read_png, write_png


class StepFailed(Exception):
    def __init__(self, message, seen=None):
        super().__init__(message)
        self.seen = seen  # the known picture the window showed instead, if any


IDLE_SECONDS = 10
BLOCK_DRAG = (101, 150)  # takes the free block down over the floor
QUIET_LIMIT = 1.0  # per cent of a core with no timer slot armed
ALARM_LIMIT = 5.0  # with one 50 ms alarm that re-arms itself


def cpu_seconds(pid):
    """User plus system CPU time of a process, from /proc: a busy machine slows the viewer but
    does not make it look more expensive."""
    with open("/proc/%d/stat" % pid) as f:
        text = f.read()
    fields = text[text.rindex(")") + 2:].split()  # the name in parentheses may hold spaces
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


class Session:
    def __init__(self, tavro, render, work, sanitized):
        self.tavro = tavro
        self.render = render
        self.work = work
        self.sanitized = sanitized
        self.results = []
        self.viewer = None
        self.window = None
        self.origin = None  # screen position of map pixel (0, 0)
        self.pictures = {}  # what tavro-render draws, by description
        self.set0 = "set 0"  # the picture set 0 shows now, by description
        self.dragging_works = False
        self.log_told = False

    # --- running the tools -----------------------------------------------------------------

    def log_path(self):
        return os.path.join(self.work, "tavro.log")

    def viewer_env(self):
        env = dict(os.environ)
        home = os.path.join(self.work, "home")
        runtime = os.path.join(self.work, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        # A settings file of its own, so no state or dialog of an earlier session comes up.
        env.update(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb")
        return env

    def draw(self, cnf, description, *options, known=True):
        """Renders a set with tavro-render; a `known` picture is one the window may show."""
        path = os.path.join(self.work, "renders", description.replace(" ", "-").replace(",", "")
                            + ".png")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        done = subprocess.run([self.render, cnf, *options, "-o", path], env=env,
                              capture_output=True, timeout=60)
        if done.returncode != 0:
            raise StepFailed("tavro-render %s failed (%d): %s" % (
                " ".join(options), done.returncode, done.stderr.decode(errors="replace")))
        with open(path, "rb") as f:
            picture = read_png(f.read())
        if known:
            self.pictures[description] = picture
        return picture

    def start_viewer(self, cnf):
        with open(self.log_path(), "wb") as log:
            self.viewer = subprocess.Popen([self.tavro, cnf], env=self.viewer_env(), stdout=log,
                                           stderr=subprocess.STDOUT)

    def log_tail(self):
        """The viewer's own output, told once: a sanitizer report ends up here."""
        if self.log_told:
            return ""
        self.log_told = True
        with open(self.log_path(), "rb") as f:
            return "; its output:\n" + f.read().decode(errors="replace")[-4000:]

    def viewer_alive(self):
        return self.viewer is not None and self.viewer.poll() is None

    # --- looking at the screen ---------------------------------------------------------------

    def save_shot(self, name, picture):
        write_png(picture, os.path.join(self.work, name + ".png"))

    def shown(self):
        """What the window shows where the map lies."""
        first = self.pictures["set 0"]
        return xdesktop.screenshot().crop(self.origin[0], self.origin[1], first.width,
                                          first.height)

    def identify(self, picture):
        for description, known in self.pictures.items():
            if picture == known:
                return description
        return None

    def wait_for(self, accepted, shot_name, timeout=5.0):
        """Waits until the window shows one of the pictures described in `accepted`; returns
        its description. Keeps the last screenshot under `shot_name`. The picture from before
        the action may linger for a moment, so only the wanted ones end the wait."""
        deadline = time.monotonic() + timeout
        while True:
            picture = self.shown()
            seen = self.identify(picture)
            if seen in accepted or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        self.save_shot(shot_name, picture)
        if seen in accepted:
            return seen
        why = difference(picture, self.pictures[accepted[0]])
        raise StepFailed("the window shows %s, not %s: %s (see %s.png)" % (
            "\"%s\"" % seen if seen else "an unknown picture", " or ".join(
                "\"%s\"" % a for a in accepted), why, shot_name), seen)

    def map_point(self, x, y):
        return self.origin[0] + x, self.origin[1] + y

    def type_keys(self, *names):
        xdesktop.focus(self.window)
        xdesktop.key(*names)

    # --- the steps ---------------------------------------------------------------------------

    def step(self, name, action):
        started = time.monotonic()
        try:
            if self.viewer is not None and not self.viewer_alive():
                raise StepFailed("the viewer is no longer running (status %s)%s" %
                                 (self.viewer.returncode, self.log_tail()))
            detail = action() or ""
            ok = True
        except (StepFailed, xdesktop.DesktopError) as e:
            detail, ok = str(e), False
        seconds = time.monotonic() - started
        self.results.append((name, ok))
        line = "[%s] %s (%.1f s)%s" % ("PASS" if ok else "FAIL", name, seconds,
                                       ": " + detail if detail else "")
        print(line, flush=True)
        # ctest shows a passing test's output to nobody; the test command prints this file.
        with open(os.path.join(self.work, "steps.txt"), "a") as f:
            f.write(line + "\n")
        return ok

    def shows_the_set(self):
        expected = self.pictures["set 0"]
        deadline = time.monotonic() + 30  # the sanitized build starts slowly
        while not self.window:
            if not self.viewer_alive():
                raise StepFailed("tavro ended at start (status %s)%s" %
                                 (self.viewer.returncode, self.log_tail()))
            windows = xdesktop.visible_windows(self.viewer.pid)
            if windows:
                self.window = windows[0]
            elif time.monotonic() > deadline:
                raise StepFailed("no window of tavro appeared")
            else:
                time.sleep(0.2)
        x, y, width, height = xdesktop.window_geometry(self.window)
        xdesktop.focus(self.window)
        while True:
            shot = xdesktop.screenshot()
            self.origin = shot.find(expected, x, y, x + width, y + height)
            if self.origin or time.monotonic() > deadline:
                break
            time.sleep(0.2)
        self.save_shot("01-loaded", shot.crop(x, y, min(width, shot.width - x),
                                              min(height, shot.height - y)))
        if not self.origin:
            raise StepFailed("the picture of set 0 is nowhere in the window \"%s\" at %d,%d "
                             "(%dx%d); see 01-loaded.png" % (
                                 xdesktop.window_name(self.window), x, y, width, height))
        return "window \"%s\", map at %d,%d of the screen" % (
            xdesktop.window_name(self.window), *self.origin)

    def idle_cost(self, what, limit):
        time.sleep(1)  # let the paint after the last change settle
        before, started = cpu_seconds(self.viewer.pid), time.monotonic()
        time.sleep(IDLE_SECONDS)
        used, elapsed = cpu_seconds(self.viewer.pid) - before, time.monotonic() - started
        share = 100.0 * used / elapsed
        figure = "%s: %.2f s of CPU in %.1f s = %.2f%% of a core (limit %.0f%%)" % (
            what, used, elapsed, share, limit)
        if self.sanitized:
            return figure + ", not applied to the sanitized build"
        if share >= limit:
            raise StepFailed(figure)
        return figure

    def drag_free_object(self):
        # Grab the block by its middle.
        sx, sy = e2e_set.POSITIONS[0][0]
        start = self.map_point(sx + 24, sy + 20)
        xdesktop.drag(start, (start[0] + BLOCK_DRAG[0], start[1] + BLOCK_DRAG[1]))
        try:
            self.set0 = self.wait_for(["set 0, block moved"], "02-free-drag")
        except StepFailed as e:
            if e.seen and e.seen.startswith("set 0"):
                self.set0 = e.seen  # later steps go on from what the window shows
            raise
        self.dragging_works = True
        return "moved by %d,%d as dragged" % BLOCK_DRAG

    def drag_fixed_object(self):
        ax, ay = e2e_set.POSITIONS[0][1]
        start = self.map_point(ax + 10, ay + 10)
        xdesktop.drag(start, (start[0] + 35, start[1] + 45))
        # Nothing on the screen says when the tug has been handled: watch for a while.
        watch_until = time.monotonic() + 1.0
        while time.monotonic() < watch_until:
            self.wait_for([self.set0], "03-fixed-drag", timeout=0)
        if not self.dragging_works:
            raise StepFailed("it stayed put, but the free drag failed too, so that proves nothing")
        return "sprang back: the picture is as before the tug"

    def copy_picture(self):
        self.type_keys("ctrl+c")
        expected = clipboard_bmp(self.pictures[self.set0], e2e_set.GROUPS[0])
        deadline = time.monotonic() + 5
        while "image/bmp" not in xdesktop.clipboard_targets():
            if time.monotonic() > deadline:
                raise StepFailed("no image/bmp on the clipboard; it offers %s" %
                                 (xdesktop.clipboard_targets() or "nothing"))
            time.sleep(0.1)
        got = xdesktop.clipboard("image/bmp")
        with open(os.path.join(self.work, "04-clipboard.bmp"), "wb") as f:
            f.write(got)
        if got != expected:
            with open(os.path.join(self.work, "04-expected.bmp"), "wb") as f:
                f.write(expected)
            first = next((i for i, (a, b) in enumerate(zip(got, expected)) if a != b),
                         min(len(got), len(expected)))
            raise StepFailed("image/bmp differs from the expected %d-byte 4-bit bitmap: %d bytes, "
                             "first difference at byte %d (see 04-clipboard.bmp, "
                             "04-expected.bmp)" % (len(expected), len(got), first))
        return "%d bytes, exactly the 4-bit bitmap of \"%s\"" % (len(got), self.set0)

    def digit_switches_set(self, digit, description, shot_name):
        self.type_keys(str(digit))
        self.wait_for([description], shot_name)
        return "shows \"%s\"" % description

    def save_positions(self, cnf):
        def written():  # the save renames a new file over the old one
            info = os.stat(cnf)
            return info.st_ino, info.st_mtime_ns, info.st_size
        before = written()
        self.type_keys("ctrl+s")
        # Saving over the file the set came from asks first; Yes is the box's default button.
        question = self.wait_for_box()
        xdesktop.key("Return")
        deadline = time.monotonic() + 10
        while written() == before:
            if time.monotonic() > deadline:
                raise StepFailed("the file was not written after Yes to \"%s\"" % question)
            time.sleep(0.1)
        with open(cnf, "rb") as f:
            after = f.read()
        with open(os.path.join(self.work, "06-saved.cnf"), "wb") as f:
            f.write(after)
        for wanted, options in ((self.set0, []), ("set 1", ["--set", "1"]),
                                ("set 2", ["--set", "2"])):
            got = self.draw(cnf, "saved " + wanted, *options, known=False)
            why = difference(got, self.pictures[wanted])
            if why:
                raise StepFailed("tavro-render of the saved file (06-saved.cnf) is not \"%s\": %s"
                                 % (wanted, why))
        set_lines = [line for line in after.decode("ascii", "replace").splitlines()
                     if line.startswith("$")]
        return ("Yes to the question in \"%s\"; tavro-render reads back \"%s\", \"set 1\" and "
                "\"set 2\" from %s" % (question, self.set0, " | ".join(set_lines[:3])))

    def wait_for_box(self, timeout=5.0):
        """Focuses the message box the viewer opened over its window; returns its caption."""
        deadline = time.monotonic() + timeout
        while True:
            boxes = [w for w in xdesktop.visible_windows(self.viewer.pid) if w != self.window]
            if boxes:
                xdesktop.focus(boxes[0])
                return xdesktop.window_name(boxes[0])
            if time.monotonic() > deadline:
                raise StepFailed("no question came up within %.0f s" % timeout)
            time.sleep(0.1)

    def alarm_runs(self):
        self.type_keys("2")
        self.wait_for(["set 2", "set 2, blinker swapped"], "08-set2")
        figure = self.idle_cost("with a 50 ms alarm", ALARM_LIMIT)
        seen = set()
        deadline = time.monotonic() + 5
        while len(seen) < 2 and time.monotonic() < deadline:
            seen.add(self.identify(self.shown()))
        if not {"set 2", "set 2, blinker swapped"} <= seen:
            raise StepFailed("the blinker did not change in 5 s, so no alarm ran; " + figure)
        return figure + "; the blinker blinks"

    def exit_through_menu(self):
        self.type_keys("alt+f")
        time.sleep(0.3)
        xdesktop.key("x")
        try:
            status = self.viewer.wait(timeout=20)
        except subprocess.TimeoutExpired:
            raise StepFailed("File > Exit did not end the viewer within 20 s")
        with open(self.log_path(), "rb") as f:
            log = f.read().decode(errors="replace")
        if "Sanitizer" in log or "runtime error:" in log or status != 0:
            raise StepFailed("ended with status %d%s" % (status, self.log_tail()))
        return "ended with status 0" + (", no sanitizer report, no leak" if self.sanitized else "")

    # --- the whole session -------------------------------------------------------------------

    def run(self):
        cnf = e2e_set.write_set(os.path.join(os.fsencode(self.work), e2e_set.FOLDER_NAME))
        variants = os.path.join(os.fsencode(self.work), b"variants")
        block = e2e_set.POSITIONS[0][0]
        moved = e2e_set.write_set(variants, b"moved.cnf", block_in_set0=(
            block[0] + BLOCK_DRAG[0], block[1] + BLOCK_DRAG[1]))
        swapped = e2e_set.write_set(variants, b"swapped.cnf", hidden_blinker=e2e_set.BLINK_A)
        try:
            self.draw(cnf, "set 0")
            self.draw(cnf, "set 1", "--set", "1")
            self.draw(cnf, "set 2", "--set", "2")
            self.draw(moved, "set 0, block moved")
            self.draw(swapped, "set 2, blinker swapped", "--set", "2")
        except StepFailed as e:
            print("[FAIL] drawing the expected pictures: %s" % e)
            return False
        self.start_viewer(cnf)
        try:
            if self.step("a screenshot shows the set", self.shows_the_set):
                self.step("idle cost", lambda: self.idle_cost("no timer slot armed", QUIET_LIMIT))
                self.step("a drag moves a free object", self.drag_free_object)
                self.step("a dragged fixed object springs back", self.drag_fixed_object)
                self.step("Ctrl+C puts the exact bitmap on the clipboard", self.copy_picture)
                self.step("digit 1 switches to set 1",
                          lambda: self.digit_switches_set(1, "set 1", "05-set1"))
                self.step("Ctrl+S saves positions tavro-render reads back",
                          lambda: self.save_positions(cnf))
                self.step("digit 0 shows set 0 as it was left",
                          lambda: self.digit_switches_set(0, self.set0, "07-set0-again"))
                self.step("an alarm animates, idle cost", self.alarm_runs)
                self.step("File > Exit ends the viewer cleanly", self.exit_through_menu)
        finally:
            if self.viewer_alive():
                self.viewer.kill()
                self.viewer.wait()
        return bool(self.results) and all(ok for _, ok in self.results)
