"""tarvo.convert_file: the same output as tarvo-convert for the same options, its refusals
with the program's messages, and nothing written on a refused run."""

import os
import subprocess
from pathlib import Path

import pytest

import tarvo

BUILD_DIR = os.environ.get("TARVO_BUILD_DIR")
SHARED = os.environ.get("TARVO_SHARED_DATA")
NATIONAL_GRID = Path(SHARED or "-") / "grids" / "A66_National_13_09_01.gsb"

GRID_POINTS = "379185.968,6359970.566,10.0\n380000.000,6360000.000,20.5\n"
SSV_POINTS = "East North Height\n379185.968  6359970.566 10.0\n380000.0 6360000.0 20.5\n"
MEDIUM = {"method": "medium", "params": "national"}

# (name, input file, keyword arguments)
SAME_AS_THE_CONVERTER = [
    ("grid with input", GRID_POINTS,
     {"from_": "AMG:56", "to": "MGA:56", "fields": (1, 2, 3), "contents": "with-input",
      **MEDIUM}),
    ("to dms, a regional set", GRID_POINTS,
     {"from_": "MGA:56", "to": "AMG:56", "fields": "1,2", "output_units": "geo",
      "output_format": "dms", "method": "medium", "params": "nsw-vic"}),
    ("ssv to ISG and both", SSV_POINTS,
     {"from_": "AMG:56", "to": "ISG:562", "type": "ssv", "header_lines": 1, "fields": (1, 2),
      "output_units": "both", **MEDIUM}),
    ("to Cartesian", GRID_POINTS,
     {"from_": "AMG:56", "to": "MGA", "fields": (1, 2, 3), "output_units": "xyz", **MEDIUM}),
    ("to MGA2020 on two threads", GRID_POINTS,
     {"from_": "EPSG:20356", "to": "MGA2020:56", "fields": (1, 2, 3), "jobs": 2, **MEDIUM}),
    pytest.param("NTv2", GRID_POINTS,
                 {"from_": "AMG:56", "to": "MGA:56", "fields": (1, 2), "grid": NATIONAL_GRID},
                 marks=pytest.mark.skipif(not NATIONAL_GRID.exists(),
                                          reason="needs TARVO_SHARED_DATA's national grid")),
]


def converter_arguments(options):
    """tarvo-convert's arguments for the keyword arguments of convert_file."""
    arguments = []
    for keyword, value in options.items():
        if isinstance(value, tuple):
            value = ",".join(map(str, value))
        arguments.append(f"--{keyword.rstrip('_').replace('_', '-')}={value}")
    return arguments


def run_converter(folder, input_name, output_name, options):
    return subprocess.run([str(Path(BUILD_DIR) / "tarvo-convert"), "-q", "-i", input_name, "-o",
                           output_name, *converter_arguments(options)],
                          cwd=folder, capture_output=True, text=True)


def without_date(text):
    return "".join(line for line in text.splitlines(True) if " - Date Computed: " not in line)


@pytest.mark.skipif(BUILD_DIR is None, reason="needs TARVO_BUILD_DIR")
@pytest.mark.parametrize("name, points, options", SAME_AS_THE_CONVERTER)
def test_writes_what_the_converter_writes(tmp_path, monkeypatch, name, points, options):
    (tmp_path / "in.txt").write_text(points)
    converter = run_converter(tmp_path, "in.txt", "converter.txt", options)
    assert converter.returncode == 0, converter.stderr
    monkeypatch.chdir(tmp_path)
    result = tarvo.convert_file("in.txt", tmp_path / "module.txt", **options)
    assert result == tarvo.ConversionResult(2, 0, 0, 0, (), 0, True)
    assert without_date((tmp_path / "module.txt").read_text(encoding="latin-1")) == \
        without_date((tmp_path / "converter.txt").read_text(encoding="latin-1"))


FIELDS = {"from_": "AMG:56", "to": "MGA:56", "fields": (1, 2), **MEDIUM}

# (keyword arguments, exception, message, tarvo-convert's exit status)
REFUSED = [
    ({}, ValueError, "Please Select CSV fields\nthat contain the values", 1),
    ({**FIELDS, "from_": "AMG:57"}, ValueError,
     "Input Zone 57 is not a zone of AGD/AMG\n\nset by option --from", 1),
    ({**FIELDS, "input_units": "geo", "input_format": "dms", "type": "ssv"}, ValueError,
     "Latitudes and Longitudes in DDD MM SS.ssss format\ncan only be read from CSV files"
     "\n\nset by option --input-format", 1),
    ({**FIELDS, "method": "ntv2"}, ValueError,
     "No NTv2 grid file is ready\nfor the High Accuracy method", 1),
    ({**FIELDS, "to": "UTM"}, ValueError,
     "invalid value 'UTM' for '--to': expected AMG, MGA, ISG or MGA2020, optionally ':ZONE', or EPSG:CODE", 2),
    ({**FIELDS, "method": "ntv2", "output_units": "xyz"}, ValueError,
     "X,Y & Z units are not available with the NTv2 method (use --method medium)", 2),
]


@pytest.mark.skipif(BUILD_DIR is None, reason="needs TARVO_BUILD_DIR")
@pytest.mark.parametrize("options, error, message, status", REFUSED)
def test_refuses_as_the_converter_does_and_writes_nothing(tmp_path, options, error, message,
                                                          status):
    (tmp_path / "in.txt").write_text(GRID_POINTS)
    (tmp_path / "old.txt").write_text("old")
    assert run_converter(tmp_path, "in.txt", "converter.txt", options).returncode == status
    with pytest.raises(error) as refused:
        tarvo.convert_file(tmp_path / "in.txt", tmp_path / "old.txt", force=True, **options)
    assert str(refused.value) == message
    assert sorted(path.name for path in tmp_path.iterdir()) == ["in.txt", "old.txt"]
    assert (tmp_path / "old.txt").read_text() == "old"


def test_files_that_do_not_open_or_exist_already(tmp_path):
    (tmp_path / "in.txt").write_text(GRID_POINTS)
    (tmp_path / "old.txt").write_text("old")
    with pytest.raises(tarvo.GridFileError, match="Invalid GSB File"):
        tarvo.convert_file(tmp_path / "in.txt", tmp_path / "new.txt",
                           **{**FIELDS, "grid": tmp_path / "in.txt", "method": "ntv2"})
    with pytest.raises(FileExistsError, match="old.txt"):
        tarvo.convert_file(tmp_path / "in.txt", tmp_path / "old.txt", **FIELDS)
    with pytest.raises(FileNotFoundError, match=r"File \(.*missing.txt\) does not exist"):
        tarvo.convert_file(tmp_path / "missing.txt", tmp_path / "new.txt", **FIELDS)
    with pytest.raises(TypeError, match="quiet"):
        tarvo.convert_file(tmp_path / "in.txt", tmp_path / "new.txt", quiet=True, **FIELDS)
    assert sorted(path.name for path in tmp_path.iterdir()) == ["in.txt", "old.txt"]
    assert (tmp_path / "old.txt").read_text() == "old"


def test_counts_the_records_left_out(tmp_path):
    (tmp_path / "in.txt").write_text("379185.968,6359970.566\nPoint A\n" + GRID_POINTS)
    result = tarvo.convert_file(tmp_path / "in.txt", tmp_path / "out.txt",
                                on_bad_record="skip", **FIELDS)
    assert (result.count, result.skipped, result.skipped_lines) == (3, 1, (2,))
    stopped = tarvo.convert_file(tmp_path / "in.txt", tmp_path / "out.txt", force=True,
                                 **FIELDS)
    assert (stopped.count, stopped.stopped_at_line, stopped.written) == (1, 2, True)
