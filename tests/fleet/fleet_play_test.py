#!/usr/bin/env python3
"""Runs the fleet play end to end on this computer: each bundled lab copied as a site, its Node 1 a
local host running the lab edition's check, the controller summarizing the fetched reports.

    fleet_play_test.py PLAY_FOLDER LAB_FOLDER PROGRAM WORK_FOLDER

Nothing leaves this computer: every host's connection is local.
"""
import csv
import os
import pathlib
import shutil
import subprocess
import sys

# Each bundled lab, as its README tells what it rehearses: check's exit code on it (3: the pair
# could not be read, so no report), and the summary row its report must give. The demo lab holds
# no answers; it is given those of its finished stage 1.
SITES = {
    "demo": (0, "OK"),
    "crossed-heartbeats": (2, "FAIL"),
    "duplicate-clan-address": (2, "FAIL"),
    "heartbeat-subnets": (2, "FAIL"),
    "services-stopped": (2, "FAIL"),
    "clan-missing": (2, "FAIL"),
    "node2-unreachable": (3, None),
}

DEMO_ANSWERS = b"0\r\nha-managed\r\n10.1.1.5\r\n10.2.2.5\r\nnode-a\r\nnode-b\r\nadmin\r\nworkgroup\r\n3\r\nha1\r\n10.1.1.1\r\n"


def fail(message):
    print(message)
    sys.exit(1)


def main():
    play, labs, program, work = (pathlib.Path(arg) for arg in sys.argv[1:5])
    shutil.rmtree(work, ignore_errors=True)
    (work / "home").mkdir(parents=True)
    reports = work / "reports"

    # Group names are the sites' (Ansible takes no dash in them); each site's host is its Node 1.
    inventory = ["fleet:", "  vars:", "    ansible_connection: local",
                 "    ansible_python_interpreter: /usr/bin/python3", f"    fleet_program: '{program}'",
                 "  children:"]
    for lab in SITES:
        copy = work / "sites" / lab
        shutil.copytree(labs / lab, copy)
        if lab == "demo":
            answers = copy / "drives" / "D" / "Zandor" / "HA" / "ToolkitInstaller2.0" / "HADefaults.dat"
            answers.parent.mkdir(parents=True, exist_ok=True)
            answers.write_bytes(DEMO_ANSWERS)
        inventory += [f"    {lab.replace('-', '_')}:", "      hosts:", f"        {lab}-node1:",
                      f"          fleet_report_folder: '{copy / 'reports'}'",
                      f"          fleet_environment: {{DUPLEX_SETUP_LAB: '{copy}'}}"]
    (work / "inventory.yml").write_text("\n".join(inventory) + "\n", encoding="utf-8")

    env = dict(os.environ, HOME=str(work / "home"), ANSIBLE_LOCAL_TEMP=str(work / "ansible-tmp"),
               ANSIBLE_NOCOLOR="1", ANSIBLE_RETRY_FILES_ENABLED="0", ANSIBLE_FORKS="4")
    run = subprocess.run(["ansible-playbook", "-i", str(work / "inventory.yml"), str(play / "fleet-check.yml"),
                          "-e", f"fleet_reports={reports}", "-e", f"fleet_controller_program={program}"],
                         env=env, capture_output=True, text=True, check=False)
    (work / "play.log").write_text(run.stdout + run.stderr, encoding="utf-8")
    # The sites that could not be checked fail as hosts, and so the play (2); the others go on to the summary.
    if run.returncode != 2:
        fail(f"ansible-playbook exited with {run.returncode}, not 2; see {work / 'play.log'}\n{run.stdout[-3000:]}")

    with open(reports / "exit-codes.csv", encoding="utf-8", newline="") as file:
        recorded = {(row["Command"], row["Site"]): row["Exit code"] for row in csv.DictReader(file)}
    expected = {("check", lab.replace("-", "_")): str(code) for lab, (code, _) in SITES.items()}
    worst = max(code for code, status in SITES.values() if status)
    expected[("summarize", "fleet")] = str(worst)
    if recorded != expected:
        fail(f"recorded exit codes {recorded}, expected {expected}")

    summaries = sorted(reports.glob("fleet-summary-*.csv"))
    if len(summaries) != 1 or not summaries[0].with_suffix(".html").exists():
        fail(f"expected one summary pair in {reports}, found {summaries}")
    with open(summaries[0], encoding="utf-8", newline="") as file:
        rows = [(row["Status"], row["Site"]) for row in csv.DictReader(file)]
    order = {"NOT READ": 0, "INVALID": 1, "FAIL": 2, "WARN": 3, "OK": 4}
    if [order[status] for status, _ in rows] != sorted(order[status] for status, _ in rows):
        fail(f"rows not worst first: {rows}")
    want = sorted((status, lab.replace("-", "_")) for lab, (_, status) in SITES.items() if status)
    if sorted(rows) != want:
        fail(f"summary rows {sorted(rows)}, expected {want}")
    # The page is for any browser: HTML Tidy finds neither an error nor a warning in it.
    tidy = subprocess.run(["tidy", "-quiet", "-errors", "-utf8", str(summaries[0].with_suffix(".html"))],
                          capture_output=True, text=True, check=False)
    if tidy.returncode != 0:
        fail(f"tidy on the summary page: {tidy.stderr}")
    print(f"{len(rows)} rows, worst first; summarize exit code {worst}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
