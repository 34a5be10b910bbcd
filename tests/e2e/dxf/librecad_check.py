#!/usr/bin/python3
"""Every DXF file of librecad-data through svhost, checked against ezdxf.

usage: librecad_check.py BIN_DIR WORK_DIR

Each file either opens in svhost or fails with a line saying where and why. Of each file that
opens, the count of each entity kind in model space equals ezdxf's count, and the file survives
OPEN, SAVEAS .dxf, OPEN with the same LIST output. ezdxf runs once over all files, svhost once
over a script listing them.
"""
import collections
import os
import re
import shutil
import subprocess
import sys
import time

try:
    import ezdxf
except ImportError:
    print("SKIP: python3-ezdxf is not installed; CI installs it")
    sys.exit(77)

BIN, WORK = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
listing = subprocess.run(["dpkg", "-L", "librecad-data"], capture_output=True, text=True)
FILES = sorted(p for p in listing.stdout.splitlines() if p.lower().endswith(".dxf"))
if listing.returncode != 0 or not FILES:
    print("SKIP: librecad-data is not installed; CI installs it")
    sys.exit(77)
shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)


def ezdxf_kinds(path):
    """Entity kinds of model space; an old-style 2D polyline is the host's lightweight one."""
    kinds = collections.Counter()
    for e in ezdxf.readfile(path).modelspace():
        kind = e.dxftype()
        if kind == "POLYLINE" and e.get_mode() == "AcDb2dPolyline":
            kind = "LWPOLYLINE"
        kinds[kind] += 1
    return kinds


started = time.monotonic()
theirs = {}
for path in FILES:
    try:
        theirs[path] = ezdxf_kinds(path)
    except Exception as error:  # ezdxf's reason, kept for the comparison with svhost's
        theirs[path] = "ezdxf: " + str(error).splitlines()[0]
ezdxf_seconds = time.monotonic() - started

script = []
for number, path in enumerate(FILES):
    copy = os.path.join(WORK, f"{number}.dxf")
    script += [f'OPEN "{path}"', 'LIST ALL ""', f'SAVEAS "{copy}"', "CLOSE",
               f'OPEN "{copy}"', 'LIST ALL ""', "CLOSE"]
started = time.monotonic()
run = subprocess.run([os.path.join(BIN, "svhost")], input="\n".join(script) + "\n", cwd=WORK,
                     capture_output=True, text=True, timeout=600)
svhost_seconds = time.monotonic() - started

# The output in pieces, each from the message of one OPEN to the next; other drawings becoming
# current on the way (after CLOSE) are chatter.
expected_opens = []
for number, path in enumerate(FILES):
    expected_opens += [path, os.path.join(WORK, f"{number}.dxf")]
opened = []
for line in run.stdout.splitlines():
    waiting = expected_opens[len(opened)] if len(opened) < len(expected_opens) else None
    if waiting is not None and (line == f"{os.path.basename(waiting)} is the current drawing." or
                                line.startswith(f"Cannot open {waiting}: ")):
        opened.append(line + "\n")
        if line.startswith("Cannot open "):
            expected_opens.pop(len(opened))  # no copy was saved, so none is opened
    elif opened:
        opened[-1] += line + "\n"
if len(opened) != len(expected_opens):
    print(f"FAIL: svhost answered {len(opened)} of {len(expected_opens)} OPENs:\n"
          f"{run.stdout[-3000:]}")
    sys.exit(1)


def entity_lines(piece):
    """The listing without the command-line chatter that differs between the two openings."""
    return [line for line in piece.splitlines()[1:]
            if not re.match(r"(Saved |\d+ found|Nothing was selected|\S+ is the current)", line)]


def kinds_of(lines):
    return collections.Counter(m.group(1) for m in (re.match(r"^(\S+)\s+Layer: ", l) for l in lines)
                               if m)


faults, refused, compared = [], [], 0
index = 0
for path in FILES:
    first = opened[index]
    index += 1
    if first.startswith("Cannot open "):
        reason = first.splitlines()[0]
        if not re.search(r": line \d+: \S", reason):
            faults.append(f"{path}: refused without a line and a reason: {reason}")
        refused.append(f"{os.path.basename(path)}: {reason.split(': ', 1)[1]}")
        continue
    second = opened[index]
    index += 1
    ours = entity_lines(first.split("Saved ")[0])
    again = entity_lines(second)
    expected = theirs[path]
    if isinstance(expected, str):
        faults.append(f"{path}: svhost opens what ezdxf cannot ({expected})")
        continue
    if kinds_of(ours) != expected:
        faults.append(f"{path}: svhost {dict(kinds_of(ours))}, ezdxf {dict(expected)}")
    if ours != again:
        faults.append(f"{path}: the LIST output differs after SAVEAS and OPEN")
    compared += 1

print(f"{len(FILES)} files: {compared} opened and compared, {len(refused)} refused")
for line in refused:
    print("  refused " + line)
print(f"ezdxf {ezdxf_seconds:.1f} s, svhost {svhost_seconds:.1f} s (both whole runs)")
if faults:
    print("FAIL:\n" + "\n".join(faults[:40]))
    sys.exit(1)
print("PASS")
