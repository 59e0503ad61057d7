"""The manual pages format without a warning, tavro-render(1) names exactly the options
`tavro-render --help` names, and tavro(1) lists the keys and both kinds of archive.

usage: check_man_pages.py MAN_DIR TAVRO_RENDER
"""

import os
import re
import subprocess
import sys

man_dir, render = sys.argv[1:3]
failures = []
for page in ("tavro.1", "tavro-render.1"):
    path = os.path.join(man_dir, page)
    for command in (["groff", "-ww", "-z", "-man", path], ["man", "--warnings", "-l", path]):
        result = subprocess.run(command, capture_output=True, text=True,
                                env=dict(os.environ, MANPAGER="cat", PAGER="cat", MANWIDTH="80"))
        if result.returncode != 0 or result.stderr:
            failures.append(f"{' '.join(command[:-1])} {page}: {result.stderr.strip()}")

OPTION = re.compile(r"(?<![\w-])(--?[a-z][a-z0-9]*)")
usage = subprocess.run([render, "--help"], capture_output=True, text=True).stdout
in_help = set(OPTION.findall(usage))
source = open(os.path.join(man_dir, "tavro-render.1")).read().replace("\\-", "-")
in_page = set(OPTION.findall(source))
if in_help != in_page:
    failures.append(f"only in --help: {sorted(in_help - in_page)}, "
                    f"only in the page: {sorted(in_page - in_help)}")
viewer = open(os.path.join(man_dir, "tavro.1")).read().replace("\\-", "-")
for words in (".SH KEYS", "ZIP", "LZH", "Keypad +", "Ctrl+B", "Space", "F1", "guide.html"):
    if words not in viewer:
        failures.append(f"tavro.1 does not name {words}")
print("\n".join(failures) or f"both pages format cleanly; options agree: {sorted(in_help)}")
sys.exit(1 if failures else 0)
