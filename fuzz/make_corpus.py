#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

The seeds are small files of the kinds each target reads, made to look like real ones: NTv2
grids in both header layouts, settings files as the program writes them, coordinate files of
each type with the settings bytes the batch target reads first, and angle texts in every
notation. Run it again after changing how a target reads its input.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- NTv2 grids ---------------------------------------------------------------------------

def label(text):
    return text.encode("ascii").ljust(8, b" ")[:8]


def grid_bytes(sub_grids, australian, semi_major=6378160.0):
    """sub_grids: (name, parent, south, north, east, west, dlat, dlon, node(row, col))."""
    pad = b"" if australian else b"\0\0\0\0"
    out = bytearray()
    out += label("NUM_OREC") + struct.pack("<i", 11) + pad
    out += label("NUM_SREC") + struct.pack("<i", 11) + pad
    out += label("NUM_FILE") + struct.pack("<i", len(sub_grids)) + pad
    out += label("GS_TYPE") + label("SECONDS")
    out += label("VERSION") + label("NTv2.0")
    out += label("SYSTEM_F") + label("AGD66")
    out += label("SYSTEM_T") + label("GDA94")
    out += label("MAJOR_F") + struct.pack("<d", semi_major)
    out += label("MINOR_F") + struct.pack("<d", 6356774.719)
    out += label("MAJOR_T") + struct.pack("<d", 6378137.0)
    out += label("MINOR_T") + struct.pack("<d", 6356752.314)
    for name, parent, south, north, east, west, dlat, dlon, node in sub_grids:
        rows = int(int(north - south) / dlat + 1 + 0.49)
        columns = int(int(west - east) / dlon + 1 + 0.49)
        out += label("SUB_NAME") + label(name)
        out += label("PARENT") + label(parent)
        out += label("CREATED") + label("01011997")
        out += label("UPDATED") + label("01011997")
        for text, value in (("S_LAT", south), ("N_LAT", north), ("E_LONG", east),
                            ("W_LONG", west), ("LAT_INC", dlat), ("LONG_INC", dlon)):
            out += label(text) + struct.pack("<d", value)
        out += label("GS_COUNT") + struct.pack("<i", rows * columns) + pad
        for row in range(rows):
            for column in range(columns):
                out += struct.pack("<4f", *node(row, column))
    return bytes(out)


def smooth(row, column):
    return (5.0 + 0.0625 * row - 0.03125 * column, -4.0 - 0.03125 * row + 0.0625 * column,
            0.25 + 0.0078125 * (row + column), 0.5 + 0.015625 * row)


def no_accuracy(row, column):
    return (4.5, -3.5, -1.0, -1.0)


DEG = 3600.0
write("grid_file_fuzzer", "canadian_one_subgrid.gsb",
      grid_bytes([("A66_NAT", "NONE", -34 * DEG, -33 * DEG, -152 * DEG, -151 * DEG, 1800.0,
                   1800.0, smooth)], australian=False))
write("grid_file_fuzzer", "australian_parent_child.gsb",
      grid_bytes([("NSW_0701", "NONE", -37 * DEG, -33 * DEG, -153 * DEG, -149 * DEG, 3600.0,
                   3600.0, smooth),
                  ("SYD_CHLD", "NSW_0701", -34 * DEG, -33.5 * DEG, -151.5 * DEG, -151 * DEG, 900.0,
                   900.0, smooth)], australian=True))
write("grid_file_fuzzer", "australian_no_accuracy.gsb",
      grid_bytes([("A84_TAS", "NONE", -44 * DEG, -40 * DEG, -149 * DEG, -144 * DEG, 7200.0,
                   7200.0, no_accuracy)], australian=True, semi_major=6378160.0))
write("grid_file_fuzzer", "canadian_three_subgrids.gsb",
      grid_bytes([("WA_0702", "NONE", -36 * DEG, -30 * DEG, -120 * DEG, -114 * DEG, 10800.0,
                   10800.0, smooth),
                  ("PERTH", "WA_0702", -32.5 * DEG, -31.5 * DEG, -116.5 * DEG, -115.5 * DEG,
                   1800.0, 1800.0, smooth),
                  ("ALBANY", "WA_0702", -35.5 * DEG, -34.5 * DEG, -118.5 * DEG, -117.5 * DEG,
                   1800.0, 1800.0, no_accuracy)], australian=False))
# A grid whose sub-grid count is right but whose node records are cut short.
short = grid_bytes([("A66_NAT", "NONE", -34 * DEG, -33 * DEG, -152 * DEG, -151 * DEG, 900.0,
                     900.0, smooth)], australian=True)
write("grid_file_fuzzer", "australian_cut_short.gsb", short[:len(short) - 40])


# --- Settings files, the coordinate file and a session ------------------------------------

SEPARATOR = "\n=====\n"

PRM_MEDIUM = "\n".join([
    "AGD/AMG", "379185.968", "0.000", "6359970.566", "0.9997800", "56", "379291.796",
    "6360161.142", "0.9997797", "GDA/MGA", "56", "National  -->  AGD84<>GDA", "East", "North",
    "Ellips.Ht(optional)", "East", "North", "Ellips.Ht", "0.0", "0", "0", "DDD.MMSSsssss",
    " 32\xb0 53' 14.0700\"", " 151\xb0 25' 27.8931\"", " 33\xb0 52' 10.1234\"",
    " 151\xb0 12' 30.5678\"", " 0\xb0 36' 12.3456\"", " 0\xb0 36' 12.7890\"",
    "32.531407000", "151.252789310", "0", ""]) + "\n"

PRM_HIGH = "\n".join([
    "GDA/MGA", "334369.201", "0.000", "6250948.392", "0.9999172", "56", "334257.431",
    "6250763.951", "0.9999176", "AGD/AMG", "56", "A66_NAT --> AGD66 <> GDA", "East", "North",
    "Ellips.Ht(optional)", "East", "North", "Ellips.Ht", "0.0", "0", "-1", "DDD MM SS.ssss",
    "-33 52 10.12345", "151 12 30.56789", " 33\xb0 52' 16.01234\"", " 151\xb0 12' 26.12345\"",
    "-0\xb0 56' 01.2345\"", "-0\xb0 56' 01.6789\"", "33.521012345", "151.123056789", "0",
    "grid.gsb"]) + "\n"

VAR_NATIONAL = "6378137.0\n298.257222101\n-117.763\n-51.510\n139.061\n-0.292\n-0.443\n" \
               "-0.277\n-0.191\n"
VAR_WINDOWS = VAR_NATIONAL.replace("\n", "\r\n")

FILE_CSV = "\n".join([
    "AGD/AMG", "GDA/MGA", "56", "56", "East, North, (Height)", "INPUT.TXT",
    "East, North, (Height)", "OUTPUT.TXT", "CSV - Comma Separated", "East Field",
    "North Field", "1", "2", "Height Field", "3", "1"]) + "\n"

FILE_GEOGRAPHIC = "\n".join([
    "AGD/AMG", "GDA/MGA", "56", "56", "Latitude,Longitude,(Height)", "INPUT.TXT",
    "Both, E,N,H,Lat & Long", "OUT.CSV", "SSV - Space(s) Separated", "Latitude Field",
    "Longitude Field", "2", "3", "Height Field", "Ignore", "0"]) + "\n"

INPUT_GRID = "Point,East,North,Height\n379185.968,6359970.566,10.0\n" \
             "334369.201,6250948.392,25.5\n"
INPUT_GEOGRAPHIC = "PT1 33.52101 151.12305 10.0\nPT2 34.00000 150.30000 0\n"

write("settings_files_fuzzer", "medium_accuracy",
      SEPARATOR.join([PRM_MEDIUM, VAR_NATIONAL, FILE_CSV, INPUT_GRID,
                      "C\nX\nW\nE379000.5\nN6360000.25\nC\nG\n"]))
write("settings_files_fuzzer", "high_accuracy_grid",
      SEPARATOR.join([PRM_HIGH, VAR_WINDOWS, FILE_GEOGRAPHIC, INPUT_GEOGRAPHIC,
                      "C\nF1\nT0\nC\nA33 52 10.5\nO151 12 30.25\nC\nV\n"]))
write("settings_files_fuzzer", "first_start", "")
write("settings_files_fuzzer", "windows_line_ends",
      SEPARATOR.join([PRM_MEDIUM.replace("\n", "\r\n"), VAR_WINDOWS,
                      FILE_CSV.replace("\n", "\r\n"), INPUT_GRID.replace("\n", "\r\n"),
                      "Z2\nY3\nC\nP\nR\n"]))
write("settings_files_fuzzer", "short_files",
      SEPARATOR.join([PRM_MEDIUM[:200], "6378160\n298.25\n", FILE_CSV[:60], "", "C\n"]))


# --- Coordinate files with their settings -------------------------------------------------

def batch_seed(file_type, input_units, output_units, input_system, output_system, zone_in,
               zone_out, first, second, height, header_lines, input_format, output_format,
               high_accuracy, options, contents, echo=0):
    """Bytes in the order the batch target reads them (indexes into its lists)."""
    settings = bytes([file_type, echo, 0, input_units, output_units, input_system,
                      output_system, zone_in, zone_out, first + 1, second + 1, height, 0, 0,
                      header_lines, input_format, output_format, high_accuracy, options])
    return settings + contents.encode("latin-1")


# Units: 0 grid, 1 geographic, 2 Cartesian, 3 both; systems: 0 AMG, 1 MGA, 2 ISG;
# zones: 4 "56", 3 "55", 7 "552"; heights: 0 Ignore, 2 Yes, 6 field 2, 7 field 3;
# notations: 1 packed, 2 DDD MM SS.ssss, 3 decimal degrees, 5 radians.
write("batch_conversion_fuzzer", "csv_grid_medium",
      batch_seed(0, 0, 0, 0, 1, 4, 4, 1, 2, 7, 1, 1, 1, 0, 8,
                 "Station,East,North,Height\n379185.968,6359970.566,10.0\n"
                 "334369.201,6250948.392,25.5\n"))
write("batch_conversion_fuzzer", "csv_dms_to_grid_ntv2",
      batch_seed(0, 1, 0, 0, 1, 4, 4, 1, 2, 0, 0, 2, 1, 1, 0,
                 "33 52 10.1234,151 12 30.5678\n34 00 00.0000,150 30 00.0000\n"))
write("batch_conversion_fuzzer", "ssv_geographic_both",
      batch_seed(1, 1, 3, 1, 0, 4, 4, 2, 3, 0, 2, 1, 2, 1, 24,
                 "Header line one\nHeader two\nPT1  33.52101  151.12305  10.0\n"
                 "PT2  34.00000  150.30000\n", echo=1))
write("batch_conversion_fuzzer", "t27_grid",
      batch_seed(2, 0, 1, 0, 1, 3, 3, 1, 2, 2, 0, 1, 5, 0, 0,
                 "PT0001  379185.968 6359970.566   10.000 CODE\n"
                 "PT0002  334369.201 6250948.392\n"))
write("batch_conversion_fuzzer", "csv_cartesian",
      batch_seed(0, 2, 1, 1, 0, 4, 4, 1, 2, 7, 0, 1, 3, 0, 8,
                 "-4646389.122,2553214.889,-3535221.104\n-4550000.5,2650000.25,-3520000\n"))
write("batch_conversion_fuzzer", "csv_isg_zones",
      batch_seed(0, 0, 0, 2, 0, 7, 3, 1, 2, 0, 0, 1, 1, 0, 8,
                 "300000.0,1250000.0,552\n320000.5,1260000.5,553\n"))


# --- Angle texts --------------------------------------------------------------------------

def angle_seed(decimals, own_label, direct, text):
    return bytes([decimals, len(own_label)]) + own_label.encode("latin-1") + \
        struct.pack("<d", direct) + text.encode("latin-1")


write("angle_text_fuzzer", "packed", angle_seed(4, "", 33.5210123, "33.5210123"))
write("angle_text_fuzzer", "dms_blanks", angle_seed(5, "DDD MM SS.ssss", 151.1230567,
                                                    "151 12 30.5678"))
write("angle_text_fuzzer", "decimal_degrees", angle_seed(4, "", 359.5959999, "-35.8695023"))
write("angle_text_fuzzer", "radians", angle_seed(6, "Radians", 0.0, "0.5914567890"))
write("angle_text_fuzzer", "symbols", angle_seed(4, "DDD\xb0 MM' SS.ssss\"", 35.1259999,
                                                 " 35\xb0 12' 59.9999\""))
write("angle_text_fuzzer", "seconds", angle_seed(3, "SSSSSS.ssss", 1e300, "1296000.0000"))
write("angle_text_fuzzer", "mre_output", angle_seed(4, "", -1.0,
                                                    "  0.5914567890\t 2.6381234567  \n"))
