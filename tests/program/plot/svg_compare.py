#!/usr/bin/env python3
"""Compares two SVG plots element by element: the same tags in the same order, the same
attributes and texts, numbers equal within a tolerance. Prints the differences; exit status 1
when there are any, 2 when a file cannot be parsed."""
import re
import sys
import xml.etree.ElementTree as ET

NUMBER = re.compile(r"[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?")
TOLERANCE = 1e-6


ROTATION = re.compile(r"rotate\(\s*(" + NUMBER.pattern + ")")


def split(value):
    """The words and the numbers of an attribute value, apart; a rotation by its angle in
    [0, 360), since turning a full circle more or less looks the same."""
    turned = ROTATION.sub(lambda m: "rotate(%.12g" % (float(m.group(1)) % 360.0), value)
    numbers = [float(n) for n in NUMBER.findall(turned)]
    return NUMBER.sub("#", turned), numbers


def close(a, b):
    return abs(a - b) <= TOLERANCE * max(1.0, abs(a), abs(b))


def same_value(a, b):
    words_a, numbers_a = split(a)
    words_b, numbers_b = split(b)
    return (words_a == words_b and len(numbers_a) == len(numbers_b)
            and all(close(x, y) for x, y in zip(numbers_a, numbers_b)))


def elements(path):
    return [(e.tag, e.attrib, "".join(e.itertext()) if e.tag.endswith("}text") else "")
            for e in ET.parse(path).getroot().iter()]


def main(expected_path, actual_path):
    try:
        expected, actual = elements(expected_path), elements(actual_path)
    except (ET.ParseError, OSError) as error:
        print("cannot parse:", error)
        return 2
    problems = []
    if len(expected) != len(actual):
        problems.append("%d elements expected, %d found" % (len(expected), len(actual)))
    for index, (want, got) in enumerate(zip(expected, actual)):
        tag, attributes, text = want
        if tag != got[0] or text != got[2] or set(attributes) != set(got[1]):
            problems.append("element %d: %s %s %r, found %s %s %r" %
                            (index, tag, sorted(attributes), text, got[0], sorted(got[1]), got[2]))
            continue
        for name, value in attributes.items():
            if not same_value(value, got[1][name]):
                problems.append("element %d %s %s: %r, found %r" %
                                (index, tag, name, value, got[1][name]))
    for problem in problems[:40]:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
