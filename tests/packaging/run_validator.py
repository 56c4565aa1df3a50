#!/usr/bin/python3
"""Run a metadata validator and fail unless it is entirely clean.

desktop-file-validate exits 0 even when it prints hints, and appstreamcli
exits 0 with infos, so the exit status alone is not enough: any diagnostic
line counts as a failure here. appstreamcli's closing summary line is the
only output allowed (its count of pedantic notes, hidden without --pedantic,
is accepted), besides the file-name headings of `appstreamcli validate-tree`.
"""

import re
import shutil
import subprocess
import sys

if len(sys.argv) < 2:
    sys.exit("usage: run_validator.py COMMAND [ARGS...]")
if shutil.which(sys.argv[1]) is None:
    sys.exit(f"run_validator: {sys.argv[1]} not found "
             "(Debian packages desktop-file-utils and appstream)")

result = subprocess.run(sys.argv[1:], stdout=subprocess.PIPE,
                        stderr=subprocess.STDOUT, text=True)
print(result.stdout, end="")
allowed = re.compile(r"^\s*$"
                     r"|^\W*Validation was successful\b"
                     r"|^[^\s:]+\.(metainfo|appdata)\.xml$")
diagnostics = [line for line in result.stdout.splitlines() if not allowed.match(line)]
if result.returncode != 0 or diagnostics:
    print(f"run_validator: exit status {result.returncode}, "
          f"{len(diagnostics)} diagnostic line(s)")
    sys.exit(1)
print("run_validator: clean")
