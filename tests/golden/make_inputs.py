#!/usr/bin/env python3
"""Writes the coordinate files of the converter matrix into inputs/files/.

The same six points in every form a run reads: map grid coordinates of the 6-degree zones and
of ISG, Cartesian X, Y, Z, and latitude and longitude in each of the seven notations; each as
CSV, SSV and T27. The points lie in several zones (50, 55, 56 and the ISG zones), some have no
height, two lines end in CRLF, and the CSV records carry an input and an output zone field.
(The other files of inputs/files are the inputs of the file conversion tests, kept as they
are.) The files are committed: run this only to change the inputs, then regenerate the golden
files.
"""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
FOLDER = os.path.join(HERE, "inputs", "files")

# name, latitude and longitude (degrees, minutes, seconds; south and east), height or None,
# input and output zone fields, 6-degree grid E N, ISG zone E N, CRLF line end.
POINTS = [
    ("NCL1", (32, 53, 30.0), (151, 42, 30.0), 12.35, "56", "56",
     (379185.968, 6359970.566), ("561", 365512.404, 1355020.117), False),
    ("SYD1", (33, 52, 10.1234), (151, 12, 30.5678), None, "56", "55",
     (334369.201, 6250948.392), ("561", 319000.5, 1251000.25), False),
    ("MEL1", (37, 48, 49.35), (144, 57, 47.123), 45.678, "55", "55",
     (320704.846, 5812936.512), ("551", 296400.0, 809000.0), False),
    ("BNE1", (27, 28, 12.5), (153, 1, 40.9), 0.0, "56", "56",
     (502700.123, 6961000.456), ("562", 302700.0, 1956000.0), False),
    ("PER1", (31, 57, 8.1), (115, 51, 32.6), 20.1, "50", "50",
     (391000.5, 6465000.25), ("541", 280000.0, 1460000.0), True),
    ("HBA1", (42, 52, 54.0), (147, 19, 30.0), None, "55", "56",
     (526000.0, 5254000.0), ("552", 326000.0, 250000.0), True),
]

# The Australian National Spheroid, on which the Cartesian inputs are computed.
ANS_A = 6378160.0
ANS_F = 1 / 298.25


def seconds_of(dms):
    d, m, s = dms
    return d * 3600 + m * 60 + s


def cartesian(latitude, longitude, height):
    """X, Y, Z of a southern latitude and eastern longitude (degrees) on ANS."""
    phi = -math.radians(latitude)
    lam = math.radians(longitude)
    e2 = ANS_F * (2 - ANS_F)
    n = ANS_A / math.sqrt(1 - e2 * math.sin(phi) ** 2)
    return ((n + height) * math.cos(phi) * math.cos(lam),
            (n + height) * math.cos(phi) * math.sin(lam),
            (n * (1 - e2) + height) * math.sin(phi))


# The notations by their command-line names; each writes an angle of `dms` as text.
def packed(dms):
    d, m, s = dms
    return "%.8f" % (d + m / 100 + s / 10000)


def dms_blanks(dms, decimals=4):
    d, m, s = dms
    return "%d %02d %0*.*f" % (d, m, decimals + 3, decimals, s)


NOTATIONS = {
    "packed": packed,
    "dms": dms_blanks,
    "degrees": lambda dms: "%.9f" % (seconds_of(dms) / 3600),
    "degmin": lambda dms: "%.8f" % (dms[0] + (dms[1] + dms[2] / 60) / 100),
    "radians": lambda dms: "%.10f" % math.radians(seconds_of(dms) / 3600),
    "seconds": lambda dms: "%.4f" % seconds_of(dms),
    "minutes": lambda dms: "%.6f" % (seconds_of(dms) / 60),
}
# T27 columns hold 12 characters: fewer decimals where a notation needs more.
T27_NOTATIONS = dict(NOTATIONS, dms=lambda dms: dms_blanks(dms, 2),
                     degrees=lambda dms: "%.8f" % (seconds_of(dms) / 3600),
                     radians=lambda dms: "%.9f" % math.radians(seconds_of(dms) / 3600))


def metres(value):
    return "%.3f" % value


def records(kind, notation=None):
    """(name, first, second, height text or None, zone in, zone out, crlf) per point."""
    rows = []
    for name, lat, lon, height, zone_in, zone_out, grid, isg, crlf in POINTS:
        h = None if height is None else metres(height)
        if kind == "en":
            first, second = metres(grid[0]), metres(grid[1])
        elif kind == "isg":
            zone_in = isg[0]
            first, second = metres(isg[1]), metres(isg[2])
        elif kind == "xyz":
            x, y, z = cartesian(seconds_of(lat) / 3600, seconds_of(lon) / 3600, height or 0.0)
            first, second, h = metres(x), metres(y), metres(z)
        else:
            first, second = notation(lat), notation(lon)
        rows.append((name, first, second, h, zone_in, zone_out, crlf))
    return rows


def write(name, lines):
    os.makedirs(FOLDER, exist_ok=True)
    with open(os.path.join(FOLDER, name), "wb") as f:
        for text, crlf in lines:
            f.write(text.encode("latin-1") + (b"\r\n" if crlf else b"\n"))


def csv(rows):
    lines = [("Point,First,Second,Height,ZoneIn,ZoneOut,Code", False)]
    for name, first, second, h, zone_in, zone_out, crlf in rows:
        lines.append((",".join([name, first, second, h or "", zone_in, zone_out, "PM"]), crlf))
    return lines


def ssv(rows):
    lines = [("Golden points", False), ("Point  First  Second  Height", False)]
    for name, first, second, h, _, _, crlf in rows:
        lines.append(("  ".join([name, first, second] + ([h] if h else [])), crlf))
    return lines


def t27(rows):
    lines = []
    for name, first, second, h, _, _, crlf in rows:
        text = "%-7s%12s%12s" % (name, first, second)
        if h is not None:
            text += "%9s CODE" % h
        lines.append((text, crlf))
    return lines + [("SHORT", False)]


for kind in ("en", "isg", "xyz"):
    write("%s.csv" % kind, csv(records(kind)))
    write("%s.ssv" % kind, ssv(records(kind)))
    write("%s.t27" % kind, t27(records(kind)))
for notation in NOTATIONS:
    write("geo_%s.csv" % notation, csv(records("geo", NOTATIONS[notation])))
    write("geo_%s.ssv" % notation, ssv(records("geo", NOTATIONS[notation])))
    write("geo_%s.t27" % notation, t27(records("geo", T27_NOTATIONS[notation])))
