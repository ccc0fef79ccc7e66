#!/usr/bin/env python3
"""Validates every readiness report (*.json) in a folder against the documented schema.

    check_report_schema.py SCHEMA FOLDER
"""
import json
import pathlib
import sys

import jsonschema


def main():
    schema = json.loads(pathlib.Path(sys.argv[1]).read_text(encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    reports = sorted(pathlib.Path(sys.argv[2]).glob("*.json"))
    if not reports:
        print("no report in", sys.argv[2])
        return 1
    failed = 0
    for path in reports:
        report = json.loads(path.read_text(encoding="utf-8"))
        errors = sorted(validator.iter_errors(report), key=lambda e: list(e.path))
        for error in errors:
            print(f"{path.name}: {'/'.join(map(str, error.path))}: {error.message}")
        # The summary must count what the findings hold.
        counts = {level: sum(1 for f in report.get("findings", []) if f.get("severity") == level.upper())
                  for level in ("fail", "warn", "info")}
        if not errors and counts != report["summary"]:
            print(f"{path.name}: summary {report['summary']} but the findings count {counts}")
            errors = [None]
        failed += bool(errors)
        print(f"{path.name}: {'invalid' if errors else 'valid'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
