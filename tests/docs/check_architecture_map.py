"""Keeps docs/architecture.md true to the tree: every source file it names exists, every folder under src/ is named.

    check_architecture_map.py REPOSITORY
"""
import os
import re
import sys

SOURCE_NAME = re.compile(r"(?<![\w./*-])((?:[\w-]+/)*[\w-]+\.(?:cpp|h|rc|cmake|py|sh))(?![\w])")


def all_files(root):
    found = []
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if not d.startswith(".") and d != "build"]
        found.extend(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/") for name in files)
    return found


def names_a_file(name, files):
    # A name is written from the repository's top, from src/, or, inside a folder's entry, as the file's own name;
    # a file the build generates is named as it is generated, from its template NAME.in.
    return any(path in (name, name + ".in", "src/" + name, "src/" + name + ".in") or
               path.endswith("/" + name) or path.endswith("/" + name + ".in") for path in files)


def main(root):
    with open(os.path.join(root, "docs", "architecture.md"), encoding="utf-8") as doc:
        text = doc.read()
    files = all_files(root)
    problems = []
    for name in sorted(set(SOURCE_NAME.findall(text))):
        if not names_a_file(name, files):
            problems.append("docs/architecture.md names %s, which is no file of the tree" % name)
    src = os.path.join(root, "src")
    for folder, dirs, _ in os.walk(src):
        for d in dirs:
            rel = os.path.relpath(os.path.join(folder, d), src).replace(os.sep, "/")
            # A folder is written with its slash ("log/"); one inside another may stand without it ("wizard/qt").
            tail = "(?:/|(?=[\\s`),]))" if "/" in rel else "/"
            if not re.search(r"(?<![\w/])(?:src/)?" + re.escape(rel) + tail, text):
                problems.append("src/%s/ is not named in docs/architecture.md" % rel)
    for line in problems:
        print(line)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
