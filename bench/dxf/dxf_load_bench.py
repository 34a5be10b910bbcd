#!/usr/bin/python3
"""Loading a DXF drawing: svhost against ezdxf on the same file in the same run.

usage: dxf_load_bench.py SVHOST [--entities N] [--runs R] [--work DIR]

ezdxf writes a drawing of N entities (lines, circles, texts and lightweight polylines in equal
parts); then each reader loads it R times as a whole process, and the best time of each is
reported with their ratio. Both do the same after loading: svhost runs a script that opens the
drawing and lists its last entity (LIST L, which also looks through the drawing for what refers
to it); python3 runs ezdxf.readfile, counts the model space's entities and lists the last one's
attributes. Process start-up is part of both measurements.
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

try:
    import ezdxf
except ImportError:
    print("SKIP: python3-ezdxf is not installed")
    sys.exit(77)

parser = argparse.ArgumentParser()
parser.add_argument("svhost")
parser.add_argument("--entities", type=int, default=100000)
parser.add_argument("--runs", type=int, default=3)
parser.add_argument("--work", default=tempfile.gettempdir())
args = parser.parse_args()

path = os.path.join(args.work, f"dxf_load_bench_{args.entities}.dxf")
doc = ezdxf.new("R2000")
msp = doc.modelspace()
for i in range(args.entities // 4):
    x, y = i % 500, i // 500
    msp.add_line((x, y), (x + 0.5, y + 0.5))
    msp.add_circle((x, y), 0.2)
    msp.add_text(f"T{i}", dxfattribs={"insert": (x, y), "height": 0.1})
    msp.add_lwpolyline([(x, y), (x + 1, y), (x + 1, y + 1)])
doc.saveas(path)
script = path + ".scr"
with open(script, "w") as out:
    out.write(f'OPEN "{path}"\nLIST L ""\n')


def best(command):
    times = []
    for _ in range(args.runs):
        started = time.perf_counter()
        run = subprocess.run(command, capture_output=True, text=True)
        times.append(time.perf_counter() - started)
        if run.returncode != 0:
            print(f"FAIL: {command[0]} ended with {run.returncode}:\n{run.stdout[-2000:]}"
                  f"{run.stderr[-2000:]}")
            sys.exit(1)
    return min(times), run.stdout


ours, output = best([args.svhost, script])
if "1 object(s) listed." not in output:
    print("FAIL: svhost did not load the drawing:\n" + output[-2000:])
    sys.exit(1)
ezdxf_load = (f"import ezdxf\n"
              f"msp = ezdxf.readfile({path!r}).modelspace()\n"
              f"print(len(msp), msp[-1].dxftype(), msp[-1].dxfattribs())\n")
theirs, output = best([sys.executable, "-c", ezdxf_load])
if not output.startswith(f"{args.entities} "):
    print("FAIL: ezdxf did not load the drawing:\n" + output[-2000:])
    sys.exit(1)
os.remove(path)
os.remove(script)
print(f"{args.entities} entities, best of {args.runs} whole-process runs: "
      f"svhost {ours:.3f} s, ezdxf {theirs:.3f} s, svhost {theirs / ours:.1f}x faster")
