"""tarvo.angles: what parse and format give and refuse, and that they read and write the
texts tarvo-convert reads and writes."""

import math
import os
import subprocess
from pathlib import Path

import numpy as np
import pytest

from tarvo import angles

SECONDS_TO_DEGREES = 1 / 3600

# text, notation, decimals, unit, value
READINGS = [
    ("35 12 34.5678", "dms", 4, "packed", 35.12345678),
    ("33 5 1", "dms", 4, "packed", 33.0501),  # one-digit minutes and seconds
    ("33 5", "dms", 4, "packed", 33.05),  # seconds left out
    ("35 12 34.567891", "dms", 6, "packed", 35.1234567891),
    ("-35 12 34.5678", "dms", 4, "degrees", -1267545678 / 36_000_000),  # the sign is kept
    ("33.5", "degrees", 5, "degrees", 33.5),  # exact, not through radians
    ("3.35e1", "deg", 5, "degrees", 33.5),  # an exponent; the short name
    ("  150.5\t", "DDD.dddddddddd", 5, "packed", 150.3),  # the label; blanks around
    ("35.2096021666667", "degrees", 6, "packed", 35.12345678),  # at most 5 of seconds
    ("35.12576130", "degmin", 4, "packed", 35.12345678),
    ("0.61452349", "radians", 4, "packed", 35.12345686),
    ("126754.5678", "SECONDS", 4, "packed", 35.12345678),
    ("126754.567891", "seconds", 6, "packed", 35.12345679),  # at most 4 of seconds
    ("2112.57613", "minutes", 4, "packed", 35.12345678),
    ("35.12345679", "packed", 4, "packed", 35.12345679),
    ("35.1234567851", "packed", 4, "packed", 35.12345679),  # rounded to the resolution
    ("35.1259999999", "packed", 4, "packed", 35.13),  # 59.9999999" is the next minute
    ("35 59 59.99999", "dms", 4, "packed", 36.0),  # ... and the minute the next degree
    ("1296000", "seconds", 4, "packed", 0.0),  # a whole turn is 0
]

# text, notation, the reason the message gives
REFUSED_TEXTS = [
    ("abc", "packed", "expected DDD.MMSSsssss"),
    ("", "degrees", "expected DDD.dddddddddd"),
    ("35.5x", "degrees", "expected DDD.dddddddddd"),  # tarvo-convert would read 35.5
    ("nan", "radians", "expected Radians"),
    ("35 12 34.5 1", "dms", "expected DDD MM SS.ssss"),
    ("35 1.5 20", "dms", "expected DDD MM SS.ssss"),
    ("35\x001", "packed", "expected DDD.MMSSsssss"),  # a NUL inside
    ("35.1\u20ac", "packed", "expected DDD.MMSSsssss"),  # beyond Latin-1
    ("35.1275", "packed", "minutes and seconds must be below 60"),  # not 35 13 00
    ("35 12 60", "dms", "minutes and seconds must be below 60"),
    ("35.6000", "packed", "minutes and seconds must be below 60"),
    ("35.75", "degmin", "minutes and seconds must be below 60"),
    ("360.0", "packed", "degrees must be below 360"),
]

# value, notation, decimals, unit, text
WRITINGS = [
    (35.2096021666667, "dms", 4, "degrees", "35 12 34.5678"),
    (-35.2096021666667, "dms", 4, "degrees", "-35 12 34.5678"),
    (35.12345678, "packed", 4, "packed", "35.12345678"),
    (35.12345678, "degrees", 4, "packed", "35.20960217"),
    (35.12345678, "degmin", 4, "packed", "35.12576130"),
    (35.12345678, "radians", 4, "packed", "0.61452349"),
    (35.12345678, "seconds", 4, "packed", "126754.5678"),
    (35.12345678, "minutes", 5, "packed", "2112.576130000"),
    (1.5, "degmin", 0, "degrees", "1.3000"),
    (35.1259999999, "dms", 4, "packed", "35 13 00.0000"),  # 60 seconds carry
    (359.99999999999, "degrees", 4, "degrees", "0.00000000"),  # a whole turn is 0
    (-1e-12, "packed", 4, "degrees", "0.00000000"),  # no "-0"
    (math.nan, "dms", 4, "degrees", ""),  # no value
]

# value, unit, the reason the message gives
REFUSED_VALUES = [
    (400.0, "degrees", "degrees must be below 360"),
    (-360.0, "degrees", "degrees must be below 360"),
    (math.inf, "degrees", "degrees must be below 360"),
    (35.1275, "packed", "minutes and seconds must be below 60"),
    (35.6, "packed", "minutes and seconds must be below 60"),
]


@pytest.mark.parametrize("text, notation, decimals, unit, value", READINGS)
def test_parse_reads_the_value(text, notation, decimals, unit, value):
    assert angles.parse(text, notation, decimals=decimals, unit=unit) == value


@pytest.mark.parametrize("text, notation, reason", REFUSED_TEXTS)
def test_parse_refuses_what_is_no_angle(text, notation, reason):
    with pytest.raises(ValueError) as raised:
        angles.parse(["1", text], notation)
    assert str(raised.value) == f"Invalid angle at index 1: {text!r}: {reason}"
    assert np.isnan(angles.parse(["1", text], notation, errors="nan")[1])


@pytest.mark.parametrize("value, notation, decimals, unit, text", WRITINGS)
def test_format_writes_the_text(value, notation, decimals, unit, text):
    assert angles.format(value, notation, decimals, unit=unit) == text


@pytest.mark.parametrize("value, unit, reason", REFUSED_VALUES)
def test_format_refuses_what_is_no_angle(value, unit, reason):
    with pytest.raises(ValueError) as raised:
        angles.format([[1.5, 2.5], [3.5, value]], "dms", unit=unit)
    assert str(raised.value) == f"Invalid angle at index (1, 1): {value!r}: {reason}"


@pytest.mark.parametrize("call, argument", [
    (lambda: angles.parse("35", "DDD.MMSS"), "'DDD.MMSS' for 'notation'"),
    (lambda: angles.format(35, "symbols"), "'symbols' for 'notation'"),
    (lambda: angles.parse("35", "packed", decimals=7), "'7' for 'decimals'"),
    (lambda: angles.format(35, "packed", -1), "'-1' for 'decimals'"),
    (lambda: angles.parse("35", "packed", unit="radians"), "'radians' for 'unit'"),
    (lambda: angles.format(35, "packed", unit="Degrees"), "'Degrees' for 'unit'"),
    (lambda: angles.parse("35", "packed", errors="ignore"), "'ignore' for 'errors'"),
])
def test_bad_arguments_are_value_errors(call, argument):
    with pytest.raises(ValueError, match=f"^invalid value {argument}: expected "):
        call()


def test_results_keep_the_shape_of_what_was_given():
    one = angles.parse("35 12 34.5678", "dms")
    assert type(one) is float
    grid = angles.parse([["35.3", "150.3"], ["36.0", "151.0"]], "packed")
    assert grid.dtype == np.float64 and grid.shape == (2, 2)
    assert grid.tolist() == [[35.5, 150.5], [36.0, 151.0]]
    assert angles.parse([], "dms").shape == (0,)
    assert angles.parse(np.array(["35 30", "36"], dtype=">U5"), "dms").tolist() == [35.5, 36.0]

    assert type(angles.format(35.5, "dms", 0)) is str
    texts = angles.format(grid, "packed", 0)
    assert texts.dtype.kind == "U" and texts.shape == (2, 2)
    assert texts.tolist() == [["35.3000", "150.3000"], ["36.0000", "151.0000"]]
    assert angles.format(np.empty((0, 3)), "dms").shape == (0, 3)


def test_a_pandas_column_with_missing_values_reads_as_nan_for_them():
    pandas = pytest.importorskip("pandas")
    column = pandas.Series(["35 30 00", None, math.nan, "36 00 00"])
    values = angles.parse(column, "dms", errors="nan")
    assert values[[0, 3]].tolist() == [35.5, 36.0] and np.isnan(values[[1, 2]]).all()
    assert angles.format(values, "dms", 0).tolist() == ["35 30 00", "", "", "36 00 00"]


# The finest resolution at which each notation's texts give back the value exactly, or
# within the step of the radians written (1e-(decimals+4) radians, coarser than the seconds'):
# the program reads decimal degrees to 5 decimals of seconds and radians, arc seconds, arc
# minutes and degree-minutes to 4.
ROUND_TRIP_DECIMALS = {"packed": 6, "dms": 6, "degrees": 5, "degmin": 4, "radians": 4,
                       "seconds": 4, "minutes": 4}


@pytest.mark.parametrize("notation", angles.NOTATIONS)
def test_values_written_read_back_rounded_to_the_resolution(notation):
    values = np.random.default_rng(22).uniform(-359.9, 359.9, 2000)
    for decimals in range(7):
        text = angles.format(values, notation, decimals)
        back = angles.parse(text, notation, decimals=decimals)
        rounded = angles.parse(angles.format(values, "packed", decimals), "packed",
                               decimals=decimals)
        half_step = 0.5 * 10.0 ** -decimals * SECONDS_TO_DEGREES
        assert np.abs(rounded - values).max() <= half_step * (1 + 1e-9)
        if decimals > ROUND_TRIP_DECIMALS[notation]:
            continue
        if notation == "radians":
            radian_step = math.degrees(0.5 * 10.0 ** -(decimals + 4))
            assert np.abs(back - rounded).max() <= radian_step + half_step
        else:
            np.testing.assert_array_equal(back, rounded)


def run_converter(folder, lines, notation_in, notation_out):
    """tarvo-convert from geographic to geographic on one datum (no change of position),
    with 4 decimals of seconds; the records of its output."""
    (folder / "in.csv").write_text("".join(f"{a},{b}\n" for a, b in lines))
    program = Path(os.environ["TARVO_BUILD_DIR"]) / "tarvo-convert"
    subprocess.run([program, "-q", "-f", "-i", "in.csv", "-o", "out.csv", "--from", "MGA:55",
                    "--to", "MGA:55", "--input-units", "geo", "--output-units", "geo",
                    "--input-format", notation_in, "--output-format", notation_out, "-T", "csv",
                    "-F", "1,2", "--method", "medium"], cwd=folder, check=True)
    records = (folder / "out.csv").read_text().splitlines()[-len(lines):]
    return [tuple(field.strip() for field in record.split(",")) for record in records]


@pytest.mark.skipif("TARVO_BUILD_DIR" not in os.environ, reason="needs the built tarvo-convert")
def test_texts_are_those_tarvo_convert_reads_and_writes(tmp_path):
    rng = np.random.default_rng(19)
    chosen = [(35.12345678, 150.20304050), (12.0, 110.59599990), (0.00000001, 159.59599999),
              (49.59599995, 110.0), (33.29599995, 151.12345678)]
    degrees = np.stack([rng.integers(0, 50, 60), rng.integers(110, 160, 60)], axis=1)
    packed = degrees + rng.integers(0, 60, (60, 2)) / 100 + rng.integers(0, 600_000, (60, 2)) / 1e8
    texts = [(f"{a:.8f}", f"{b:.8f}") for a, b in chosen + packed.tolist()]
    columns = np.array(texts).T
    values = angles.parse(columns, "packed", decimals=4)
    for notation in angles.NOTATIONS:
        written = run_converter(tmp_path, texts, "packed", notation)
        assert angles.format(values, notation, 4).T.tolist() == [list(r) for r in written]
        read = run_converter(tmp_path, written, notation, "packed")
        mine = angles.format(angles.parse(np.array(written).T, notation, decimals=4),
                             "packed", 4)
        assert mine.T.tolist() == [list(r) for r in read], notation
