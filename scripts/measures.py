#!/usr/bin/env python3
"""Prints the measures that keep the code's shape in check, each beside its bound, and fails when
one is beyond it:

  - the session's root (TSession: Session.h + Session.cpp): lines, public methods, signals;
  - each room of the session (a .h/.cpp pair of src/session/ that the root holds): lines and
    public methods;
  - one-statement forwards in src/session/: a function whose whole body is one call passed on to a
    member (`return x_.F(...);`, `x_->F(...);`), counted in .h and .cpp alike and listed;
  - the main window's own files (window/Unit1.h, window/Unit1*.cpp): lines;
  - places where the window brackets an undo step itself (a history's Record, Begin or End);
  - files of src/ over 500 lines.

`--list` also prints each forward found. Include loops: scripts/include-loops.py; repeated
code: the duplicates tool (see docs/DEVELOPING.md)."""
import glob
import os
import re
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
ROOMS = ["SessionLogs", "OperatorSettings", "Connection", "Sending", "Channels", "ProgramEditor", "ProgramDocument",
         "ReadingBack", "UserButtons", "MachineStop", "ListEdits"]


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def lines(*paths):
    return sum(read(p).count("\n") for p in paths if os.path.exists(p))


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


def class_body(text, name):
    m = re.search(r"\bclass\s+" + name + r"\b[^;{]*\{", text)
    if not m:
        return ""
    depth, i = 1, m.end()
    while depth and i < len(text):
        depth += {"{": 1, "}": -1}.get(text[i], 0)
        i += 1
    return text[m.end():i - 1]


def members(header, name):
    """(public methods, signals) declared by class `name` in `header`, nested types left out."""
    body = strip_comments(class_body(read(header), name))
    # Nested classes, structs and enums are not methods of the class.
    body = re.sub(r"\b(struct|class|enum(\s+class)?)\s+\w+[^;{]*\{[^{}]*(\{[^{}]*\}[^{}]*)*\}\s*;", "", body)
    section, public, signals = "private", 0, 0
    statement = ""
    for raw in body.split("\n"):
        line = raw.strip()
        label = re.match(r"^(public|private|protected|signals|public slots|private slots)\s*:", line)
        if label:
            section = label.group(1)
            line = line[label.end():].strip()
        if not line:
            continue
        statement += " " + line
        if not re.search(r"[;{}]\s*$", statement):
            continue
        decl, statement = statement.strip(), ""
        if "(" not in decl or decl.startswith(("using", "friend", "Q_", "static_assert")):
            continue
        fname = re.match(r"^[^(]*?(~?\w+|operator\S*)\s*\(", decl)
        if not fname or fname.group(1) in (name, "~" + name) or fname.group(1).startswith("operator"):
            continue
        if re.search(r"=\s*delete", decl) or re.match(r"^[\w:<>,\s*&]+\s+\w+\s*=", decl):
            continue
        if section == "signals":
            signals += 1
        elif section == "public":
            public += 1
    return public, signals


FORWARD = re.compile(r"^(return\s+)?\*?\(?\*?\w+_\)?(\.|->)(\w+)\((?:[^;{}]*)\)\s*;$")
# Calls on a member's own value (a smart pointer, an optional, a container), which pass nothing on.
OWN = {"reset", "get", "value_or", "has_value", "clear", "isEmpty", "size", "count", "contains", "append",
       "push_back", "data", "first", "last", "at"}
KEYWORDS = {"if", "for", "while", "switch", "catch", "return"}


def forwards(path):
    """The functions of `path` whose body is one call on a member, by name."""
    text = strip_comments(read(path))
    found = []
    for m in re.finditer(r"(\w+(?:::\w+)?)\s*\(([^;{}()]|\([^()]*\))*\)\s*(const\s*)?(override\s*)?\{", text):
        depth, i = 1, m.end()
        while depth and i < len(text):
            depth += {"{": 1, "}": -1}.get(text[i], 0)
            i += 1
        body = " ".join(text[m.end():i - 1].split())
        call = FORWARD.match(body)
        if m.group(1) in KEYWORDS or not call or call.group(3) in OWN:
            continue
        if body.count(";") == 1:
            found.append((os.path.relpath(path, root), m.group(1), body))
    return found


def main():
    show = "--list" in sys.argv
    rows, failed = [], False

    def measure(what, value, bound):
        nonlocal failed
        ok = value <= bound
        failed |= not ok
        rows.append((what, value, bound, "" if ok else "  <-- beyond"))

    s = os.path.join(root, "session")
    measure("TSession: lines (.h + .cpp)", lines(f"{s}/Session.h", f"{s}/Session.cpp"), 400)
    public, signals = members(f"{s}/Session.h", "TSession")
    measure("TSession: public methods", public, 20)
    measure("TSession: signals", signals, 3)
    for room in ROOMS:
        cls = "T" + room
        measure(f"{cls}: lines", lines(f"{s}/{room}.h", f"{s}/{room}.cpp"), 300)
        measure(f"{cls}: public methods", members(f"{s}/{room}.h", cls)[0], 20)
    found = [f for p in sorted(glob.glob(f"{s}/*.h") + glob.glob(f"{s}/*.cpp")) for f in forwards(p)]
    measure("one-statement forwards in src/session", len(found), 10)
    w = os.path.join(root, "window")
    window = [f"{w}/Unit1.h"] + sorted(glob.glob(f"{w}/Unit1*.cpp"))
    measure("main window's own files: lines", lines(*window), 1000)
    brackets = 0
    for p in glob.glob(f"{w}/**/*.cpp", recursive=True) + glob.glob(f"{w}/**/*.h", recursive=True):
        brackets += len(re.findall(r"(istory_?(\(\))?(->|\.)(Record|Begin|End)\s*\()", read(p)))
    measure("undo: places the window brackets a step", brackets, 2)
    big = []
    for p in glob.glob(f"{root}/**/*", recursive=True):
        if p.endswith((".h", ".cpp")) and lines(p) > 500:
            big.append(f"{os.path.relpath(p, root)} ({lines(p)})")
    measure("files of src/ over 500 lines" + (": " + ", ".join(big) if big else ""), len(big), 0)

    width = max(len(r[0]) for r in rows)
    for what, value, bound, mark in rows:
        print(f"{what:<{width}}  {value:>5}  (at most {bound}){mark}")
    if show:
        for path, name, body in found:
            print(f"  forward  {path}: {name}  {{ {body} }}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
