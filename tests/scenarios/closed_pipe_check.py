"""The lab edition's check with standard output a pipe whose reader is gone (check | head -1 once head has
ended): the run goes on to its report and its own exit code, not to SIGPIPE.

    closed_pipe_check.py PROGRAM COPY LAB
"""
import os
import shutil
import subprocess
import sys


def main():
    program, copy, lab = sys.argv[1:4]
    shutil.rmtree(copy, ignore_errors=True)
    shutil.copytree(lab, copy, symlinks=True)
    reader, writer = os.pipe()
    os.close(reader)
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
    env["DUPLEX_SETUP_LAB"] = copy
    # subprocess gives the child the default action for SIGPIPE back, as a shell would.
    run = subprocess.run([program, "check"], stdout=writer, stderr=subprocess.PIPE, env=env, check=False)
    os.close(writer)
    reports = os.path.join(copy, "drives", "C", "ProgramData", "Zandor", "Reports")
    saved = sorted(os.listdir(reports)) if os.path.isdir(reports) else []
    print("exit code", run.returncode, "reports", saved)
    # Crossed heartbeats: a FAIL finding, exit code 2, and the report's two files.
    ok = run.returncode == 2 and len([name for name in saved if name.endswith((".html", ".json"))]) == 2
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
