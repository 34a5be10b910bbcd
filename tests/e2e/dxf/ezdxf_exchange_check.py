#!/usr/bin/python3
"""DXF written by svhost read by ezdxf, and DXF written by ezdxf read by svhost.

usage: ezdxf_exchange_check.py BIN_DIR WORK_DIR

Each check prints what it compared; the first difference fails the run with exit status 1.
"""
import os
import re
import subprocess
import sys

import shutil

try:
    import ezdxf
except ImportError:
    print("SKIP: python3-ezdxf is not installed; CI installs it")
    sys.exit(77)

BIN, WORK = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
SVHOST = os.path.join(BIN, "svhost")
MODULE = os.path.join(BIN, "SentavellUi17.arx")


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def svhost(script, name):
    path = os.path.join(WORK, name)
    with open(path, "w") as out:
        out.write(script)
    run = subprocess.run([SVHOST, path], cwd=WORK, capture_output=True, text=True, timeout=120)
    if run.returncode != 0:
        fail(f"svhost {name} ended with {run.returncode}:\n{run.stdout}{run.stderr}")
    return run.stdout


def listed(output):
    """The entities of LIST output: kind, handle, layer, texts, attributes, extension dictionary
    entries and reactors, by handle."""
    entities = {}
    current = None
    for line in output.splitlines():
        head = re.match(r"^(\S+)\s+Layer: \"(.*)\"$", line)
        if head:
            current = {"kind": head.group(1), "layer": head.group(2), "texts": [],
                       "attributes": {}, "xdict": 0, "reactors": []}
            continue
        if current is None:
            continue
        field = re.match(r"^    (\S[^:]*):\s+(.*)$", line)
        if not field:
            continue
        key, value = field.group(1), field.group(2)
        if key == "Handle":
            entities[value.strip()] = current
        elif key in ("text", "contents"):
            current["texts"].append(value.strip().strip('"'))
        elif key == "attribute":
            tag, _, text = value.partition(" = ")
            current["attributes"][tag.strip()] = text.strip().strip('"')
        elif key == "Extension dict":
            current["xdict"] = int(value.split()[0])
        elif key == "Reactor":
            current["reactors"].append(value.split()[0])
    return entities


def read_audited(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors or auditor.has_fixes:
        fail(f"ezdxf audit of {path}: {[str(e.message) for e in auditor.errors + auditor.fixes]}")
    return doc


def ezdxf_entities(doc):
    entities = {}
    for layout in (doc.modelspace(), doc.layout("Layout1")):
        for e in layout:
            texts = []
            if e.dxftype() == "TEXT":
                texts.append(e.dxf.text)
            elif e.dxftype() == "MTEXT":
                texts.append(e.text)
            attributes = {a.dxf.tag: a.dxf.text for a in e.attribs} if e.dxftype() == "INSERT" else {}
            xdict = len(e.get_extension_dict().dictionary) if e.has_extension_dict else 0
            entities[e.dxf.handle] = {"kind": e.dxftype(), "layer": e.dxf.layer, "texts": texts,
                                      "attributes": attributes, "xdict": xdict,
                                      "reactors": sorted(e.get_reactors())}
    return entities


def compare(ours, theirs, what):
    if set(ours) != set(theirs):
        fail(f"{what}: svhost has {sorted(ours)}, ezdxf {sorted(theirs)}")
    for handle, entity in ours.items():
        other = theirs[handle]
        for key in ("kind", "layer", "attributes", "xdict"):
            if entity[key] != other[key]:
                fail(f"{what}, {handle} {key}: svhost {entity[key]!r}, ezdxf {other[key]!r}")
        if sorted(entity["reactors"]) != other["reactors"]:
            fail(f"{what}, {handle} reactors: svhost {entity['reactors']}, ezdxf {other['reactors']}")
        if entity["kind"] in ("TEXT", "MTEXT") and entity["texts"][:1] != other["texts"]:
            fail(f"{what}, {handle} text: svhost {entity['texts']}, ezdxf {other['texts']}")
    print(f"ok: {what}: {len(ours)} entities alike")


# LIST of everything in model space, then on the layout's paper.
BOTH_SPACES = "TILEMODE 1\nLIST ALL \"\"\nTILEMODE 0\nLIST ALL \"\"\nTILEMODE 1\n"


# 1. The sample's links, styles and every kind of entity svhost draws, saved as DXF.
subprocess.run([os.path.join(BIN, "make_sample"), "sample.svd"], cwd=WORK, check=True)
with open(os.path.join(WORK, "plan.png"), "wb") as png:
    png.write(b"\x89PNG\r\n\x1a\n")
drawn = svhost(
    f"ARXLOAD {MODULE}\nOPEN sample.svd\n"
    "ARC 40,0 42,2 44,0\nELLIPSE 50,0 53,0 1\n"
    "MTEXT 40,10 0.5 8 TL 0 \"Notes\\Pfor the \u00e9tage\"\n"
    "DIMLINEAR 40,-5 44,-5 42,-7\nDIMALIGNED 40,-8 44,-10 43,-11\n"
    "LEADER 45,5 47,7 \"\" Mtext 0.3 \"see here\"\n"
    "IMAGE plan.png 50,10 4 0\n"
    "TILEMODE 0\nMVIEW 1,1 11,8\nTEXT 1,9 0.4 0 Sheet\nTILEMODE 1\n"
    "SAVEAS linked.dxf\n" + BOTH_SPACES + "QUIT\n", "save.scr")
ours = listed(drawn)
doc = read_audited(os.path.join(WORK, "linked.dxf"))
compare(ours, ezdxf_entities(doc), "svhost's drawing read by ezdxf")
layers = {e["layer"] for e in ours.values()}
if not layers <= {layer.dxf.name for layer in doc.layers}:
    fail(f"layers {layers} missing from ezdxf's {[l.dxf.name for l in doc.layers]}")
with_xdict = sum(1 for e in ours.values() if e["xdict"])
with_reactors = sum(1 for e in ours.values() if e["reactors"])
if not with_xdict or not with_reactors:
    fail("the sample drawing has no extension dictionary or reactor to compare")
print(f"ok: {with_xdict} extension dictionaries and {with_reactors} reactor lists alike")
proxies = [o for o in doc.objects if o.dxftype() == "ACAD_PROXY_OBJECT"]
if not proxies:
    fail("no link or style travelled as a proxy object")
print(f"ok: {len(proxies)} proxy objects, layers {sorted(layers)}")

# 2. Read and written again by ezdxf; opened in svhost the links still follow their sources.
doc.saveas(os.path.join(WORK, "resaved.dxf"))
moved = svhost(f"ARXLOAD {MODULE}\nOPEN resaved.dxf\nVERTEX 5,-1 10,-1 12,-1\n"
               "LIST 5,-1.5 \"\"\nSAVEAS again.dxf\nQUIT\n", "move.scr")
if '"12.0 m"' not in moved:
    fail("the label did not follow its source after ezdxf's save:\n" + moved)
read_audited(os.path.join(WORK, "again.dxf"))
print("ok: after ezdxf's save, moving a source rewrote its label")

# 3. A drawing written by ezdxf opens in svhost with the same contents.
made = ezdxf.new("R2010")
msp = made.modelspace()
made.layers.add("Walls", color=3)
msp.add_line((0, 0), (5, 0), dxfattribs={"layer": "Walls"})
msp.add_circle((1, 1), 0.5)
msp.add_arc((2, 2), 1, 0, 90)
msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (4, 0), (4, 3)], format="xyseb", close=True)
msp.add_ellipse((0, 5), major_axis=(3, 0), ratio=0.5)
made.styles.add("Notes", font="notes.ttf")
made.dimstyles.new("Metric")
msp.add_text("Gr\u00fc\u00dfe", dxfattribs={"height": 0.4, "insert": (0, -2), "style": "Notes"})
msp.add_mtext("two\\Plines", dxfattribs={"char_height": 0.3, "insert": (0, -4), "style": "Notes"})
msp.add_linear_dim(base=(0, -6), p1=(0, -5), p2=(3, -5), dimstyle="Metric").render()
block = made.blocks.new("ROOM")
block.add_attdef("NAME", (0, 0))
insert = msp.add_blockref("ROOM", (6, 6))
insert.add_attrib("NAME", "Kitchen", (6, 6))
made.layout("Layout1").add_text("Sheet", dxfattribs={"height": 0.4, "insert": (1, 9)})
made.layouts.new("Second sheet").add_line((1, 1), (5, 5))
made.saveas(os.path.join(WORK, "from_ezdxf.dxf"))
opened = svhost("OPEN from_ezdxf.dxf\n" + BOTH_SPACES + "SAVEAS round.dxf\nQUIT\n",
                "open.scr")
compare(listed(opened), ezdxf_entities(made), "ezdxf's drawing read by svhost")
round_trip = read_audited(os.path.join(WORK, "round.dxf"))
compare(listed(opened), ezdxf_entities(round_trip), "ezdxf's drawing saved again by svhost")
if round_trip.layers.get("Walls").color != 3:
    fail(f"the layer Walls lost its colour: {round_trip.layers.get('Walls').color}")
print("ok: layers keep their colours")
styles = sorted((e.dxftype(), e.dxf.dimstyle if e.dxftype() == "DIMENSION" else e.dxf.style)
                for e in round_trip.modelspace().query("TEXT MTEXT DIMENSION"))
if styles != [("DIMENSION", "Metric"), ("MTEXT", "Notes"), ("TEXT", "Notes")]:
    fail(f"the styles came back as {styles}")
if "Notes" not in round_trip.styles or "Metric" not in round_trip.dimstyles:
    fail(f"the style tables lack Notes or Metric: {[s.dxf.name for s in round_trip.styles]}, "
         f"{[s.dxf.name for s in round_trip.dimstyles]}")
print(f"ok: texts and the dimension keep their styles {styles}")
sheets = round_trip.layouts.names_in_taborder()
if len(sheets) != 3 or [e.dxftype() for e in round_trip.layout(sheets[2])] != ["LINE"]:
    fail(f"the layouts came back as {sheets}")
print(f"ok: every layout is back, each with its entities: {sheets}")
print("PASS")
