#!/usr/bin/env python3
"""Follows docs/capture.md word for word: every command of the field engineer's procedure, as it
stands there, run in a checkout of the repository. The site's server is a lab standing in for it
(a copy of the demo lab after stage 1, the product's manifest missing, so that the manifest's copy
is rehearsed too). Paths are the one thing changed: C:\\Temp\\site-capture, /path/to/site-capture
and /tmp/site-capture become folders of this test's own, DuplexSetupAssistant the lab edition
built here. Commands that open the window (tools/demo.sh, the program without a command) need a
person and are left out. generate must reach "Phase 2 Complete", and the README the capture
writes must hold the rehearsal block docs/capture.md shows.

    capture_procedure_test.py REPOSITORY PROGRAM
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

STAGE_1_ANSWERS = ("1\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n"
                   "127.0.0.1\r\n")
README_BEGIN = "<!-- the capture's README, from \"Rehearse it\": begin -->"
README_END = "<!-- the capture's README, from \"Rehearse it\": end -->"


def commands_of(doc):
    """The lines of the procedure's code blocks that are commands, in order."""
    procedure = doc[doc.index("## The field engineer's procedure"):doc.index("## What is in the folder")]
    commands = []
    for block in re.findall(r"```\n(.*?)```", procedure, re.S):
        for line in block.splitlines():
            line = line.strip()
            if re.match(r"(DuplexSetupAssistant |bash |DUPLEX_SETUP_LAB=|mkdir |cp )", line):
                commands.append(line)
    return commands


def main():
    repo, program = sys.argv[1], os.path.abspath(sys.argv[2])
    with open(os.path.join(repo, "docs", "capture.md"), encoding="utf-8") as f:
        doc = f.read()
    work = tempfile.mkdtemp(prefix="duplex-capture-procedure-")
    failures = []
    try:
        server = os.path.join(work, "server")
        subprocess.run(["bash", "tools/copy-lab.sh", "lab/demo", server], cwd=repo, check=True)
        toolkit = os.path.join(server, "drives", "D", "Zandor", "HA", "ToolkitInstaller2.0")
        with open(os.path.join(toolkit, "HADefaults.dat"), "w", newline="") as f:
            f.write(STAGE_1_ANSWERS)
        shutil.rmtree(os.path.join(server, "drives", "D", "Program Files", "EMC AutoStart", "ha1"))

        capture = os.path.join(work, "site-capture")
        rehearsal = os.path.join(work, "rehearsal", "site-capture")
        os.makedirs(os.path.dirname(rehearsal))
        ran = []
        for command in commands_of(doc):
            if command.startswith("bash tools/demo.sh") or re.fullmatch(r"DUPLEX_SETUP_LAB=\S+ \S+", command):
                continue  # opens the window
            environment = dict(os.environ)
            if command.startswith("DuplexSetupAssistant capture "):
                # Run on the server: each form of the command writes a new folder.
                shutil.rmtree(capture, ignore_errors=True)
                command = command.replace("C:\\Temp\\site-capture", capture)
                command = program + command[len("DuplexSetupAssistant"):]
                environment["DUPLEX_SETUP_LAB"] = server
            command = (command.replace("/path/to/site-capture", capture).replace("/tmp/site-capture", rehearsal)
                       .replace("./build/linux/DuplexSetupAssistant", program))
            result = subprocess.run(["bash", "-c", command], cwd=repo, env=environment, capture_output=True, text=True)
            ran.append(command)
            if result.returncode != 0:
                failures.append("%s: exit code %d\n%s%s" % (command, result.returncode, result.stdout, result.stderr))
            if " generate" in command and "Phase 2 Complete" not in result.stdout:
                failures.append("%s: no \"Phase 2 Complete\"\n%s%s" % (command, result.stdout, result.stderr))
        for needed in ("capture", "copy-lab.sh", " check", "mkdir", "cp ", " generate"):
            if not any(needed in command for command in ran):
                failures.append("the procedure has no command with \"%s\"" % needed)

        shown = doc[doc.index(README_BEGIN) + len(README_BEGIN):doc.index(README_END)]
        shown = shown.strip().removeprefix("```").removesuffix("```").strip("\n").splitlines()
        with open(os.path.join(capture, "README.txt"), encoding="utf-8", newline="") as f:
            readme = f.read().split("\r\n")
        start = next((i for i, line in enumerate(readme) if line.startswith("Rehearse it")), len(readme))
        written = readme[start:start + len(shown)]
        if written != shown:
            failures.append("the README's rehearsal differs from docs/capture.md:\n  %s\n  --\n  %s" %
                            ("\n  ".join(written), "\n  ".join(shown)))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
