#!/usr/bin/env python3
"""Prints the measures that keep the code's shape in check, each beside its bound, and fails when
one is beyond it:

  - the session's root (TSession) and the controller's sub-root (TController): lines (.h + .cpp),
    public methods, signals;
  - each room: a class a root hands out by reference (`TFoo& Foo();`) whose header is in
    src/session/ (a controller's rooms in src/session/controller/), found from the roots' code so
    that a new room is measured the day it comes; its lines count every file of src/session/ that
    defines one of its nested classes (`class TFoo::TBar`);
  - the operator's settings (TCommonDatas): public methods, public fields that can change, the
    files that include it, the rooms that take it;
  - the controller's rooms include no header of the workplace's rooms;
  - read loops: the places that wait on a line without end and read what comes (one serves every
    kind of line);
  - one-statement forwards in src/session/: a function whose whole body is one call passed on to a
    member (`return x_.F(...);`, `x_->F(...);`), counted in .h and .cpp alike and listed;
  - the main window's own files (window/Unit1.h, window/Unit1*.cpp): lines;
  - places where the window brackets an undo step itself (a history's Record, Begin or End);
  - files of src/ over 500 lines.

`--list` also prints each forward found and each room. Include loops: scripts/include-loops.py;
repeated code: the duplicates tool (see docs/DEVELOPING.md)."""
import glob
import os
import re
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")


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


def rooms_of(header, name, folder):
    """The rooms root class `name` hands out: (class, header) for each `TFoo& Foo()` whose class is
    declared in a header of `folder` (not below it)."""
    body = strip_comments(class_body(read(header), name))
    found = []
    for cls in dict.fromkeys(re.findall(r"^\s*(?:const\s+)?(T\w+)&\s+\w+\(\)", body, flags=re.M)):
        for h in sorted(glob.glob(f"{folder}/*.h")):
            if re.search(r"\bclass\s+" + cls + r"\b(?!::)[^;]*\{", read(h)):
                found.append((cls, h))
                break
    return found


def room_files(cls, header):
    """The files of a room: its .h and .cpp, and every file of its folder that defines a nested
    class of it."""
    files = [header, header[:-2] + ".cpp"]
    for p in sorted(glob.glob(os.path.dirname(header) + "/*.h") + glob.glob(os.path.dirname(header) + "/*.cpp")):
        if p not in files and re.search(r"\b(class|struct)\s+" + cls + r"::\w+", read(p)):
            files.append(p)
    return files


def flatten(body):
    """`body` with every brace block inside it (inline bodies, nested types) cut out, a `;` left
    in its place so that the declaration before it ends there."""
    out, depth = [], 0
    for ch in body:
        if ch == "{":
            depth += 1
        elif ch == "}":
            depth -= 1
            if depth == 0:
                out.append(";")
        elif depth == 0:
            out.append(ch)
    return "".join(out)


def public_fields(header, name):
    """Public data members of `name` that can change (constants and static ones left out)."""
    body = flatten(strip_comments(class_body(read(header), name)))
    section, count = "private", 0
    for raw in body.split(";"):
        for label in re.finditer(r"\b(public|private|protected|signals)\s*:", raw):
            section = label.group(1)
        decl = re.sub(r"^.*\b(public|private|protected|signals)\s*:", "", raw, flags=re.S).strip()
        if section != "public" or not decl or "(" in decl.split("=")[0]:
            continue
        if re.match(r"^(using|friend|static|const|constexpr|enum|struct|class|typedef|Q_)\b", decl) or "operator" in decl:
            continue
        count += 1
    return count


def main():
    show = "--list" in sys.argv
    rows, failed = [], False

    def measure(what, value, bound):
        nonlocal failed
        ok = value <= bound
        failed |= not ok
        rows.append((what, value, bound, "" if ok else "  <-- beyond"))

    s = os.path.join(root, "session")
    c = os.path.join(s, "controller")
    for cls, base in (("TSession", f"{s}/Session"), ("TController", f"{c}/Controller")):
        measure(f"{cls}: lines (.h + .cpp)", lines(f"{base}.h", f"{base}.cpp"), 250)
        public, signals = members(f"{base}.h", cls)
        measure(f"{cls}: public methods", public, 20)
        measure(f"{cls}: signals", signals, 3)
    workplace = rooms_of(f"{s}/Session.h", "TSession", s)
    controller = rooms_of(f"{c}/Controller.h", "TController", c)
    for cls, header in workplace + controller:
        files = room_files(cls, header)
        extra = [os.path.basename(p) for p in files[2:]]
        measure(f"{cls}: lines" + (f" (with {', '.join(extra)})" if extra else ""), lines(*files), 300)
        measure(f"{cls}: public methods", members(header, cls)[0], 20)
    if show:
        for cls, header in workplace + controller:
            print(f"  room  {cls}  {os.path.relpath(header, root)}")

    datas = os.path.join(root, "core", "UnitCommonDatas.h")
    measure("TCommonDatas: public methods", members(datas, "TCommonDatas")[0], 15)
    measure("TCommonDatas: public fields that can change", public_fields(datas, "TCommonDatas"), 0)
    sources = glob.glob(f"{root}/**/*.h", recursive=True) + glob.glob(f"{root}/**/*.cpp", recursive=True)
    includers = [p for p in sources if '"core/UnitCommonDatas.h"' in read(p) or '"UnitCommonDatas.h"' in read(p)]
    measure("TCommonDatas: files of src/ that include it", len(includers), 10)
    taking = [cls for cls, header in workplace + controller
              if any("TCommonDatas" in strip_comments(read(p)) for p in room_files(cls, header) if os.path.exists(p))]
    measure("TCommonDatas: rooms that take it" + (f" ({', '.join(taking)})" if taking else ""), len(taking), 3)

    headers = {os.path.splitext(os.path.basename(p))[0] for p in glob.glob(f"{s}/*.h")}
    crossing = []
    for p in glob.glob(f"{c}/*.h") + glob.glob(f"{c}/*.cpp"):
        for inc in re.findall(r'#include\s+"([^"]+)"', read(p)):
            name = os.path.splitext(os.path.basename(inc))[0]
            if name in headers and not inc.startswith("session/controller/") and "/" not in inc.replace("session/", "", 1):
                crossing.append(f"{os.path.relpath(p, root)} -> {inc}")
    measure("controller -> workplace includes" + (": " + ", ".join(crossing) if crossing else ""), len(crossing), 0)

    loops = [os.path.relpath(p, root) for p in sources if p.endswith(".cpp")
             and re.search(r"::poll\([^;]*,\s*-1\)", read(p)) and re.search(r"::(read|recv)\(", read(p))]
    measure("read loops" + (": " + ", ".join(loops) if loops else ""), len(loops), 1)

    found = [f for p in sorted(glob.glob(f"{s}/**/*.h", recursive=True) + glob.glob(f"{s}/**/*.cpp", recursive=True))
             for f in forwards(p)]
    measure("one-statement forwards in src/session", len(found), 10)
    w = os.path.join(root, "window")
    window = [f"{w}/Unit1.h"] + sorted(glob.glob(f"{w}/Unit1*.cpp"))
    measure("main window's own files: lines", lines(*window), 950)
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
