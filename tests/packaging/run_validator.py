#!/usr/bin/python3
"""Run a metadata validator and fail unless it is entirely clean.

desktop-file-validate exits 0 even when it prints hints, and appstreamcli
exits 0 with infos, so the exit status alone is not enough: any diagnostic
line counts as a failure here. appstreamcli's closing summary line is the
only output allowed (its count of pedantic notes, hidden without --pedantic,
is accepted), besides the file-name headings of `appstreamcli validate-tree`.

One note is accepted from AppStream validators older than 1.0: AppStream 1.0
replaced <developer_name> with <developer id="..."><name>, and the 0.16
validator of Debian 12 does not know the new element yet, so it reports it as
an unknown tag. Any other unknown tag still fails.
"""

import os
import re
import shutil
import subprocess
import sys


def appstream_before_1_0(command):
    if os.path.basename(command) != "appstreamcli":
        return False
    result = subprocess.run([command, "--version"], stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True)
    match = re.search(r"AppStream version: (\d+)\.", result.stdout)
    return match is not None and int(match.group(1)) < 1


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
accepted = []
if appstream_before_1_0(sys.argv[1]):
    accepted.append(re.compile(r"^\s*I: [^\s:]+:\d+: unknown-tag developer$"))
lines = [line for line in result.stdout.splitlines() if not allowed.match(line)]
diagnostics = [line for line in lines if not any(p.match(line) for p in accepted)]
if len(diagnostics) < len(lines):
    print("run_validator: accepted the unknown-tag note on <developer> from AppStream before 1.0")
if result.returncode != 0 or diagnostics:
    print(f"run_validator: exit status {result.returncode}, "
          f"{len(diagnostics)} diagnostic line(s)")
    sys.exit(1)
print("run_validator: clean")
