"""Installs Tavro into a temporary prefix and uses it as a desktop would.

The MIME and desktop databases are built there; with XDG_DATA_DIRS pointing at it, xdg-mime must
know the doll-set type by its glob in any letter case and name Tavro's entry as its default. The
thumbnailer entry's Exec line, filled in as a file manager fills it in, must make a PNG of the
right size for the demo set, an LZH archive of it (holding two configurations, the first in name
order wins) and the largest set a configuration can make; for broken files and other programs'
configuration files (from which no cel loads) it must fail without output. Every thumbnail run
leaves its temporary directory empty.

usage: desktop_integration.py BUILD_DIR SOURCE_DIR WORK_DIR [SYNTHETIC_SET_WRITER]
"""

import os
import re
import shlex
import shutil
import struct
import subprocess
import sys
import time

BUILD, SOURCE, WORK = (os.path.abspath(a) for a in sys.argv[1:4])
WRITER = sys.argv[4] if len(sys.argv) > 4 else None
PREFIX = os.path.join(WORK, "prefix")
SHARE = os.path.join(PREFIX, "share")
TMP = os.path.join(WORK, "tmp")
# A folder named in Shift_JIS, with 0x5C (the ASCII backslash) as a second byte.
APP = "org.tavro.Tavro"
SJIS_DIR = os.path.join(os.fsencode(WORK), b"\x83\x5c\x83t\x83g \x89\xe6")
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def run(*args, env=None, cwd=None):
    return subprocess.run(args, env=env, cwd=cwd, capture_output=True, text=True, timeout=120)


def desktop_env():
    env = {k: v for k, v in os.environ.items()
           if not k.startswith(("XDG_", "KDE_", "GNOME_")) and k != "DESKTOP_SESSION"}
    home = os.path.join(WORK, "home")
    env.update(HOME=home, XDG_DATA_HOME=os.path.join(home, "data"),
               XDG_CONFIG_HOME=os.path.join(home, "config"), XDG_DATA_DIRS=SHARE + ":/usr/share",
               PATH=os.path.join(PREFIX, "bin") + ":" + os.environ["PATH"], TMPDIR=TMP)
    return env


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24]) if head[:8] == b"\x89PNG\r\n\x1a\n" else None


def thumbnail_command(size, source, output):
    """The Exec line with %s, %i, %u and %o replaced, each in its own argument."""
    entry = open(os.path.join(SHARE, "thumbnailers", "tavro.thumbnailer")).read()
    exec_line = re.search(r"^Exec=(.*)$", entry, re.M).group(1)
    values = {"%s": str(size).encode(), "%i": source, "%o": os.fsencode(output),
              "%u": b"file://" + source}
    return [values.get(arg, os.fsencode(arg)) for arg in shlex.split(exec_line)]


def thumbnail(name, source, size, expected):
    output = os.path.join(WORK, "thumbnails", name + ".png")
    if os.path.exists(output):
        os.remove(output)
    started = time.monotonic()
    result = subprocess.run(thumbnail_command(size, source, output), env=desktop_env(),
                            capture_output=True, timeout=120)
    seconds = time.monotonic() - started
    made = png_size(output) if os.path.exists(output) else None
    if expected is None:
        check(result.returncode != 0 and not os.path.exists(output),
              f"thumbnail of {name} fails without output (exit {result.returncode})")
    else:
        check(result.returncode == 0 and made == expected,
              f"thumbnail of {name} at {size}: {made}, expected {expected} "
              f"({seconds:.2f} s) {result.stderr.decode(errors='replace').strip()}")
    check(os.listdir(TMP) == [], f"thumbnail of {name} leaves its temporary directory empty")
    return seconds


def install():
    shutil.rmtree(WORK, ignore_errors=True)
    for d in (TMP, os.path.join(WORK, "thumbnails"), os.path.join(WORK, "home")):
        os.makedirs(d)
    result = run("cmake", "--install", BUILD, "--prefix", PREFIX)
    check(result.returncode == 0, "cmake --install into a temporary prefix " + result.stderr)
    for tool, folder in (("update-mime-database", "mime"),
                         ("update-desktop-database", "applications")):
        result = run(tool, os.path.join(SHARE, folder))
        check(result.returncode == 0, tool + " " + result.stderr)
    # What the desktop reads, validated as installed.
    result = run("desktop-file-validate", os.path.join(SHARE, "applications", APP + ".desktop"))
    check(result.returncode == 0, "the installed desktop entry is valid " + result.stdout)
    result = run("appstreamcli", "validate", "--no-net",
                 os.path.join(SHARE, "metainfo", APP + ".metainfo.xml"))
    check(result.returncode == 0, "the installed AppStream metadata is valid " + result.stdout)


def documents():
    """The help file where the program looks for it (bin/../share/doc/tavro) and the licence."""
    doc = os.path.join(PREFIX, "bin", os.pardir, "share", "doc", "tavro")
    guide = os.path.join(doc, "guide.html")
    check(os.path.isfile(guide), "the user guide is installed beside the program's prefix")
    text = open(guide, encoding="utf-8").read() if os.path.isfile(guide) else ""
    check(re.search(r"""(src|href)=["']?(https?:|//|file:)""", text) is None,
          "the user guide loads nothing from elsewhere")
    for words in ("Keypad +", "Ctrl</kbd>+<kbd>B", "ZIP", "Record Animation", "Load Report",
                  "tavro.ini"):
        check(words in text, "the user guide covers " + words)
    copyright_file = os.path.join(doc, "copyright")
    check(os.path.isfile(copyright_file) and "License: MIT" in open(copyright_file).read(),
          "the copyright file is installed and names the MIT licence")


def file_types(demo):
    env = desktop_env()
    for name in ("demo.cnf", "DEMO.CNF"):
        path = os.path.join(WORK, name)
        shutil.copy(os.path.join(demo, "demo.cnf"), path)
        found = run("xdg-mime", "query", "filetype", path, env=env).stdout.strip()
        check(found == "application/x-mivo-doll-set", f"xdg-mime filetype of {name}: {found}")
    for mime in ("application/x-mivo-doll-set", "application/x-lha"):
        found = run("xdg-mime", "query", "default", mime, env=env).stdout.strip()
        check(found == "org.tavro.Tavro.desktop", f"xdg-mime default for {mime}: {found}")
    found = run("xdg-mime", "query", "default", "application/zip", env=env).stdout.strip()
    check(found != "org.tavro.Tavro.desktop", "ZIP files are left to others")


def archive_of(demo):
    """An LZH of the demo set with a second configuration, a.cnf, whose playfield is 200 x 100;
    b.cnf is the demo's own. b.cnf goes in first so that archive order is not name order."""
    folder = os.path.join(SJIS_DIR, b"members")
    shutil.copytree(os.fsencode(demo), folder)
    text = open(os.path.join(folder, b"demo.cnf"), "rb").read()
    os.rename(os.path.join(folder, b"demo.cnf"), os.path.join(folder, b"b.cnf"))
    with open(os.path.join(folder, b"a.cnf"), "wb") as f:
        f.write(re.sub(rb"\(\s*\d+\s*,\s*\d+\s*\)", b"(200,100)", text, count=1))
    members = [b"b.cnf", b"a.cnf"] + sorted(n for n in os.listdir(folder) if n[-4:] != b".cnf")
    result = subprocess.run([b"jlha", b"a", b"set.lzh"] + members, cwd=folder,
                            capture_output=True)
    check(result.returncode == 0, "jlha made an archive")
    archive = os.path.join(SJIS_DIR, b"\x83\x5cset.lzh")
    os.rename(os.path.join(folder, b"set.lzh"), archive)
    return archive


def thumbnails(demo):
    os.makedirs(SJIS_DIR)
    demo_cnf = os.path.join(os.fsencode(demo), b"demo.cnf")
    thumbnail("the demo set", demo_cnf, 128, (128, 96))
    thumbnail("the demo set, never enlarged", demo_cnf, 1024, (480, 360))
    archive = archive_of(demo)
    thumbnail("an archive", archive, 128, (128, 64))
    broken = os.path.join(SJIS_DIR, b"broken.cnf")
    with open(broken, "wb") as f:
        f.write(b"\x83\x5c\x00\xff not a configuration\r\n" * 40)
    thumbnail("a broken set", broken, 128, None)
    # Another program's settings, "*.cnf" like ours: no cel loads, so it keeps its own icon.
    settings = os.path.join(SJIS_DIR, b"openssl.cnf")
    with open(settings, "wb") as f:
        f.write(b"[ req ]\n# a comment\n#1.organizationName = Second Organization Name\n")
    thumbnail("another program's configuration", settings, 128, None)
    truncated = os.path.join(SJIS_DIR, b"truncated.lzh")
    with open(truncated, "wb") as f:
        f.write(open(archive, "rb").read()[:300])
    thumbnail("a truncated archive", truncated, 128, None)
    if WRITER:
        largest = os.path.join(WORK, "largest")
        check(run(WRITER, largest).returncode == 0, "the largest set written")
        cnf = os.fsencode(os.path.join(largest, "max.cnf"))
        seconds = thumbnail("the largest set", cnf, 256, (256, 205))
        started = time.monotonic()
        run(os.path.join(PREFIX, "bin", "tavro-render"), "--info", os.fsdecode(cnf))
        print(f"the largest set: thumbnail {seconds:.2f} s, --info "
              f"{time.monotonic() - started:.2f} s (one run each)")


install()
documents()
file_types(os.path.join(SOURCE, "examples", "demo"))
thumbnails(os.path.join(SOURCE, "examples", "demo"))
print(f"{len(failures)} failed" if failures else "all passed")
sys.exit(1 if failures else 0)
