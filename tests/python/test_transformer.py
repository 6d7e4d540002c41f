"""tarvo.Transformer: the API contract, agreement with tarvo-convert on the same points and
with PROJ (pyproj) where it can do the same operation, threads, pickling."""

import math
import os
import pickle
import struct
import subprocess
import sys
from pathlib import Path

import numpy as np
import pytest

import tarvo

BUILD_DIR = os.environ.get("TARVO_BUILD_DIR")
SHARED = os.environ.get("TARVO_SHARED_DATA")
NATIONAL_GRID = Path(SHARED or ".") / "grids" / "A66_National_13_09_01.gsb"
needs_converter = pytest.mark.skipif(BUILD_DIR is None, reason="needs TARVO_BUILD_DIR")
needs_grid = pytest.mark.skipif(not NATIONAL_GRID.is_file(),
                                reason="needs TARVO_SHARED_DATA with grids/")

# Points near Sydney in AMG/MGA zone 56 (East, North, height), one in zone 55, and in ISG 561.
ZONE56 = [(334567.89, 6254321.12, 10.0), (321000.0, 6240000.0, 55.5), (350123.456, 6300999.0, 0.0)]
ZONE55 = [(712345.678, 6198765.432, 100.0), (690000.0, 6220000.0, -3.0)]
ISG561 = [(305000.0, 1254000.0, 20.0), (290100.5, 1249000.25, 0.0)]
# Latitude (negative south), longitude in decimal degrees that packed texts hold exactly.
GEOGRAPHIC = [(-33.5, 151.25, 30.0), (-33.75, 150.875, 0.0)]


def write_grid(path, accuracy_unknown_east_of=None):
    """A synthetic AGD66 -> GDA94 NTv2 grid (standard layout) over 30 to 36 S, 150 to 154 E,
    nodes a degree apart, a shift that varies from node to node; accuracies of -1 (unknown)
    at the nodes east of `accuracy_unknown_east_of` degrees."""
    def record(label, value=b""):
        return label.ljust(8).encode() + value.ljust(8, b"\0")

    def integer(label, value):
        return record(label, struct.pack("<i", value))

    def real(label, value):
        return record(label, struct.pack("<d", value))

    south, north, east, west = -36 * 3600.0, -30 * 3600.0, -154 * 3600.0, -150 * 3600.0
    rows, columns = 7, 5
    data = [integer("NUM_OREC", 11), integer("NUM_SREC", 11), integer("NUM_FILE", 1),
            record("GS_TYPE", b"SECONDS"), record("VERSION", b"TEST 1.0"),
            record("SYSTEM_F", b"AGD66"), record("SYSTEM_T", b"GDA94"),
            real("MAJOR_F", 6378160.0), real("MINOR_F", 6356774.719),
            real("MAJOR_T", 6378137.0), real("MINOR_T", 6356752.314),
            record("SUB_NAME", b"NSW_TEST"), record("PARENT", b"NONE"),
            record("CREATED", b"01012024"), record("UPDATED", b"01012024"),
            real("S_LAT", south), real("N_LAT", north), real("E_LONG", east),
            real("W_LONG", west), real("LAT_INC", 3600.0), real("LONG_INC", 3600.0),
            integer("GS_COUNT", rows * columns)]
    for row in range(rows):
        for column in range(columns):  # from the east
            known = accuracy_unknown_east_of is None or 154 - column <= accuracy_unknown_east_of
            data.append(struct.pack("<4f", 5.0 + 0.0625 * row, -4.0 + 0.03125 * column,
                                    0.25 if known else -1.0, 0.5 if known else -1.0))
    data.append(record("END"))
    path.write_bytes(b"".join(data))
    return path


@pytest.fixture(scope="module")
def grid(tmp_path_factory):
    return write_grid(tmp_path_factory.mktemp("grid") / "nsw_66.gsb", accuracy_unknown_east_of=152)


# --- Agreement with tarvo-convert ----------------------------------------------------------

def convert(folder, options, points):
    """tarvo-convert on `points` (CSV with a name field); the fields of each record written."""
    source = folder / "in.csv"
    source.write_text("".join(f"P{i},{a!r},{b!r},{c!r}\n" for i, (a, b, c) in enumerate(points)))
    output = folder / "out.csv"
    subprocess.run([str(Path(BUILD_DIR) / "tarvo-convert"), "-i", str(source), "-o",
                    str(output), "-T", "csv", "-F", "2,3,4", "-q", "-f", *options],
                   cwd=folder, check=True, capture_output=True)
    return [[field.strip() for field in line.split(",")[1:]]
            for line in output.read_text().splitlines()
            if line.startswith("P")]


def written(values, kind, decimals):
    """Python's values as the converter writes them: metres with 3 decimals, latitude and
    longitude packed with `decimals` decimals of seconds (latitude south positive)."""
    first, second, third = values
    if kind == "geo":
        return [[tarvo.angles.format(-a, "packed", decimals),
                 tarvo.angles.format(b, "packed", decimals),
                 f"{c:.3f}"] for a, b, c in zip(first, second, third)]
    return [[f"{v:.3f}" for v in point] for point in zip(first, second, third)]


# source, target, tarvo-convert's options, points, the output's kind; "GRID" is the grid file.
CONVERTER_CASES = [
    ("AMG:56", "MGA:56", ["--from", "AMG:56", "--to", "MGA:56"], ZONE56, "en"),
    ("MGA:55", "AMG:55", ["--from", "MGA:55", "--to", "AMG:55"], ZONE55, "en"),
    ("MGA:55", "MGA:56", ["--from", "MGA:55", "--to", "MGA:56"], ZONE55, "en"),
    ("ISG:561", "MGA:56", ["--from", "ISG:561", "--to", "MGA:56"], ISG561, "en"),
    ("AMG:56", "MGA:56", ["--from", "AMG:56", "--to", "MGA:56", "-p", "nsw-vic"], ZONE56, "en"),
    ("AMG:56", "MGA:geo", ["--from", "AMG:56", "--to", "MGA:56", "--output-units", "geo"],
     ZONE56, "geo"),
    ("MGA:56", "AMG:xyz", ["--from", "MGA:56", "--to", "AMG:56", "--output-units", "xyz"],
     ZONE56, "xyz"),
    ("GDA94", "AMG:56", ["--from", "MGA:56", "--to", "AMG:56", "--input-units", "geo",
                         "--input-format", "degrees"], GEOGRAPHIC, "en"),
    ("AMG:56", "MGA:56", ["--from", "AMG:56", "--to", "MGA:56", "-m", "ntv2", "-g", "GRID"],
     ZONE56, "en"),
    ("MGA:56", "AMG:56", ["--from", "MGA:56", "--to", "AMG:56", "-m", "ntv2", "-g", "GRID"],
     ZONE56, "en"),
    ("MGA:56", "AMG:geo", ["--from", "MGA:56", "--to", "AMG:56", "-m", "ntv2", "-g", "GRID",
                           "--output-units", "geo"], ZONE56, "geo"),
    ("MGA:56", "MGA2020:56", ["--from", "MGA:56", "--to", "MGA2020:56"], ZONE56, "en"),
    ("AMG:56", "EPSG:7856", ["--from", "AMG:56", "--to", "MGA2020:56"], ZONE56, "en"),
    ("MGA2020:55", "AMG:55", ["--from", "MGA2020:55", "--to", "AMG:55"], ZONE55, "en"),
]


@needs_converter
@pytest.mark.parametrize("source,target,options,points,kind", CONVERTER_CASES)
def test_writes_what_the_converter_writes(tmp_path, grid, source, target, options, points,
                                          kind):
    options = [str(grid) if o == "GRID" else o for o in options]
    params = options[options.index("-p") + 1] if "-p" in options else "national"
    uses_grid = "-g" in options
    if "-m" not in options:
        options += ["-m", "medium", "-p", params]
    # The converter's latitudes are south positive.
    sign = -1 if source == "GDA94" else 1
    expected = convert(tmp_path, options, [(sign * a, b, c) for a, b, c in points])
    t = tarvo.Transformer(source, target, params=params, grid=grid if uses_grid else None)
    x, y, z = (np.array(column) for column in zip(*points))
    # Seconds written: 5 decimals under the grid method, 4 under the 7-parameter one.
    assert written(t.transform(x, y, z), kind, 5 if uses_grid else 4) == expected


# --- Agreement with PROJ -----------------------------------------------------------------------

NATIONAL = ("+x=-117.763 +y=-51.510 +z=139.061 +rx=-0.292 +ry=-0.443 +rz=-0.277 +s=-0.191 "
            "+convention=coordinate_frame")


def utm(zone, ellipsoid, inverse=False):
    return f"+step {'+inv ' if inverse else ''}+proj=utm +zone={zone} +south +ellps={ellipsoid}"


def similarity_pipeline(zone):
    """AGD84 AMG to GDA94 MGA by the National set."""
    steps = [utm(zone, "aust_SA", True), "+step +proj=cart +ellps=aust_SA",
             f"+step +proj=helmert {NATIONAL}", "+step +inv +proj=cart +ellps=GRS80",
             utm(zone, "GRS80")]
    return "+proj=pipeline " + " ".join(steps)


def grid_pipeline(zone):
    """AGD66 AMG to GDA94 MGA by the national grid."""
    steps = [utm(zone, "aust_SA", True), f"+step +proj=hgridshift +grids={NATIONAL_GRID}",
             utm(zone, "GRS80")]
    return "+proj=pipeline " + " ".join(steps)


MILLIMETRE_IN_DEGREES = 1e-3 / 111e3

# source, target, Transformer keywords, the PROJ operation (a pipeline, or two CRSs) and its
# direction, points, tolerance (metres or degrees); "NATIONAL_GRID" is the shared national
# AGD66 grid.
PROJ_CASES = [
    ("AMG:56", "MGA:56", {}, lambda: similarity_pipeline(56), "FORWARD", ZONE56, 1e-3),
    ("MGA:55", "AMG:55", {}, lambda: similarity_pipeline(55), "INVERSE", ZONE55, 1e-3),
    ("EPSG:28356", "EPSG:4283", {}, lambda: ("EPSG:28356", "EPSG:4283"), "FORWARD", ZONE56,
     MILLIMETRE_IN_DEGREES),
    ("EPSG:20256", "EPSG:4202", {"params": "nsw-vic"}, lambda: ("EPSG:20256", "EPSG:4202"),
     "FORWARD", ZONE56, MILLIMETRE_IN_DEGREES),
    ("AMG:56", "MGA:56", {"grid": "NATIONAL_GRID"}, lambda: grid_pipeline(56), "FORWARD", ZONE56,
     1e-3),
    ("MGA:55", "AMG:55", {"grid": "NATIONAL_GRID"}, lambda: grid_pipeline(55), "INVERSE", ZONE55,
     1e-3),
    ("MGA:56", "MGA2020:56", {}, lambda: ("EPSG:28356", "EPSG:7856"), "FORWARD", ZONE56, 1e-3),
    ("EPSG:7855", "EPSG:28355", {}, lambda: ("EPSG:7855", "EPSG:28355"), "FORWARD", ZONE55,
     1e-3),
]


@pytest.mark.parametrize("source,target,keywords,operation,direction,points,tolerance",
                         PROJ_CASES)
def test_agrees_with_proj(source, target, keywords, operation, direction, points, tolerance):
    pyproj = pytest.importorskip("pyproj")
    if keywords.get("grid") == "NATIONAL_GRID":
        if not NATIONAL_GRID.is_file():
            pytest.skip("needs TARVO_SHARED_DATA with grids/")
        keywords = {**keywords, "grid": NATIONAL_GRID}
    op = operation()
    proj = (pyproj.Transformer.from_crs(*op) if isinstance(op, tuple)
            else pyproj.Transformer.from_pipeline(op))
    x, y = (np.array(column) for column in list(zip(*points))[:2])
    ours = tarvo.Transformer(source, target, **keywords).transform(x, y)
    theirs = proj.transform(x, y, direction=direction)
    for a, b in zip(ours, theirs):
        np.testing.assert_allclose(a, b, rtol=0, atol=tolerance)


CHRISTMAS_GRID = Path(SHARED or ".") / "grids" / "GDA94_GDA2020_conformal_christmas_island.gsb"


@pytest.mark.skipif(not CHRISTMAS_GRID.is_file(), reason="needs TARVO_SHARED_DATA with grids/")
def test_a_gda2020_grid_shifts_as_proj_does():
    """GDA94 to GDA2020 by the Christmas Island grid (grid2020) and back, against PROJ's
    hgridshift with the same file: within 1e-9 degrees."""
    pyproj = pytest.importorskip("pyproj")
    proj = pyproj.Transformer.from_pipeline(
        "+proj=pipeline +step +proj=axisswap +order=2,1 "
        "+step +proj=unitconvert +xy_in=deg +xy_out=rad "
        f"+step +proj=hgridshift +grids={CHRISTMAS_GRID} "
        "+step +proj=unitconvert +xy_in=rad +xy_out=deg +step +proj=axisswap +order=2,1")
    latitude = np.linspace(-10.56, -10.42, 7)
    longitude = np.linspace(105.55, 105.71, 7)
    forward = tarvo.Transformer("GDA94", "GDA2020", grid2020=CHRISTMAS_GRID)
    backward = tarvo.Transformer("GDA2020", "GDA94", grid2020=CHRISTMAS_GRID)
    for ours, direction in ((forward.transform(latitude, longitude), "FORWARD"),
                            (backward.transform(latitude, longitude), "INVERSE")):
        theirs = proj.transform(latitude, longitude, direction=direction)
        for a, b in zip(ours, theirs):
            np.testing.assert_allclose(a, b, rtol=0, atol=1e-9)
    # The conformal grid is the similarity in grid form; a point off the island shows which
    # was used: outside the grid (NaN) by the grid, a value by the similarity.
    sydney = (np.array([-33.9]), np.array([151.2]))
    assert np.isnan(forward.transform(*sydney)[0][0])
    assert np.isfinite(tarvo.Transformer("GDA94", "GDA2020").transform(*sydney)[0][0])


# --- The API contract ----------------------------------------------------------------------

AMG_TO_MGA = tarvo.Transformer("AMG:56", "MGA:56")
EAST = np.array([p[0] for p in ZONE56 * 4])
NORTH = np.array([p[1] for p in ZONE56 * 4])
REFERENCE = AMG_TO_MGA.transform(EAST, NORTH)

# How the points are given; each must give the reference values in the input's shape.
SHAPES = [
    ("list", lambda a: list(a)),
    ("2-D", lambda a: a.reshape(3, 4)),
    ("Fortran order", lambda a: np.asfortranarray(a.reshape(3, 4))),
    ("strided view", lambda a: np.repeat(a, 2)[::2]),
    ("3-D", lambda a: a.reshape(2, 3, 2)),
    ("float32 of whole metres", lambda a: np.round(a).astype(np.float32)),
    ("int64", lambda a: np.round(a).astype(np.int64)),
]


@pytest.mark.parametrize("name,shaped", SHAPES)
def test_any_shape_and_dtype_gives_float64_of_that_shape(name, shaped):
    x, y = shaped(EAST), shaped(NORTH)
    e, n = AMG_TO_MGA.transform(x, y)
    assert e.dtype == n.dtype == np.float64
    assert e.shape == n.shape == np.shape(x)
    expected = AMG_TO_MGA.transform(np.ravel(np.asarray(x, dtype=np.float64)),
                                     np.ravel(np.asarray(y, dtype=np.float64)))
    np.testing.assert_array_equal(np.ravel(e), expected[0])
    if "whole metres" not in name and "int" not in name:
        np.testing.assert_array_equal(np.ravel(e), REFERENCE[0])
        np.testing.assert_array_equal(np.ravel(n), REFERENCE[1])


def test_a_single_point_and_no_points():
    e, n, h = AMG_TO_MGA.transform(EAST[0], NORTH[0], 0.0)
    assert e.shape == () and e == REFERENCE[0][0]
    assert [a.shape for a in AMG_TO_MGA.transform([], [])] == [(0,), (0,)]


# Arguments no transformation can use: the exception and words of its message.
BAD_ARGUMENTS = [
    (("AMG", "MGA:56"), {}, ValueError, "needs a zone"),
    (("UTM:56", "MGA:56"), {}, ValueError, "names no coordinate system"),
    (("EPSG:20256", "MGA:56"), {}, ValueError, "on AGD66, but the 7-parameter set changes AGD84"),
    (("EPSG:20356", "MGA:56"), {"params": "act"}, ValueError, "on AGD84"),
    (("AGD66", "AGD84"), {}, ValueError, "no transformation joins AGD66 and AGD84"),
    (("MGA:56", "MGA2020:56"), {"grid2020": "x.gsb"}, tarvo.GridFileError, "x.gsb"),
    (("AMG:56", "MGA:56"), {"method": "low"}, ValueError, "no method"),
    (("AMG:56", "MGA:56"), {"method": "high"}, ValueError, "needs a grid file"),
    (("AMG:56", "MGA:56"), {"params": "queensland"}, ValueError, "no 7-parameter set"),
    (("AMG:56", "MGA:56"), {"params": {"tx": 1}}, ValueError, "missing: ty, tz, rx"),
    (("AMG:56", "MGA:56"), {"params": {**dict.fromkeys("tx ty tz rx ry rz scale".split(), 0),
                                       "rf": 1.0}}, ValueError, "Inverse Flattening"),
    (("AMG:56", "MGA:56"), {"grid": "/no/such/grid.gsb"}, tarvo.GridFileError,
     "/no/such/grid.gsb"),
    (("AMG:56", "MGA:56"), {"threads": -1}, ValueError, "threads"),
]


@pytest.mark.parametrize("arguments,keywords,error,words", BAD_ARGUMENTS)
def test_refuses_arguments_with_a_message_that_says_why(arguments, keywords, error, words):
    with pytest.raises(error, match=None) as raised:
        tarvo.Transformer(*arguments, **keywords)
    assert words in str(raised.value)


def test_refuses_a_bad_call():
    with pytest.raises(ValueError, match="same shape"):
        AMG_TO_MGA.transform([1.0, 2.0], [1.0])
    with pytest.raises(ValueError, match="'nan' or 'raise'"):
        AMG_TO_MGA.transform(EAST, NORTH, errors="ignore")
    with pytest.raises(ValueError, match="needs z"):
        tarvo.Transformer("GDA94:xyz", "MGA:56").transform([1.0], [2.0])
    with pytest.raises(ValueError, match="grid system"):
        tarvo.Transformer("AMG:56", "GDA94").factors(EAST, NORTH)
    with pytest.raises(ValueError, match="method 'high'"):
        AMG_TO_MGA.accuracy(EAST, NORTH)


def test_a_parameter_dict_is_the_preset_it_spells():
    national = dict(zip(tarvo.PARAMETER_KEYS[2:],
                        (-117.763, -51.510, 139.061, -0.292, -0.443, -0.277, -0.191)))
    by_dict = tarvo.Transformer("AMG:56", "MGA:56", params=national).transform(EAST, NORTH)
    by_label = tarvo.Transformer("amg:56", "mga:56",
                                 params="National  -->  AGD84<>GDA").transform(EAST, NORTH)
    for a, b, c in zip(by_dict, by_label, REFERENCE):
        np.testing.assert_array_equal(a, c)
        np.testing.assert_array_equal(b, c)


def test_outside_the_grid_nan_or_the_first_index(grid):
    t = tarvo.Transformer("AMG:56", "MGA:56", grid=grid)
    east = np.array([[334567.89, 500000.0], [321000.0, 600000.0]])
    north = np.array([[6254321.12, 7000000.0], [6240000.0, 6000000.0]])
    e, n = t.transform(east, north)
    assert np.isnan(e).tolist() == [[False, True], [False, True]]
    assert np.isnan(n).tolist() == np.isnan(e).tolist()
    with pytest.raises(tarvo.OutsideGridError) as raised:
        t.transform(east, north, errors="raise")
    assert raised.value.index == (0, 1)
    assert "(0, 1)" in str(raised.value)


def test_factors_and_accuracy(grid):
    t = tarvo.Transformer("AMG:56", "MGA:56", grid=grid)
    # Central meridian 153 E: East 500 km has convergence 0 and the least scale.
    e, n = t.transform([500000.0, 334567.89], [6254321.12, 6254321.12])
    scale, convergence = t.factors([500000.0, 334567.89], [6254321.12, 6254321.12])
    assert abs(convergence[0]) < 0.01 and convergence[1] < -0.5
    assert 0.9996 <= scale[0] < scale[1]
    # 151 E has known accuracies, 153 E none (the nodes east of 152 E hold -1).
    latitude, longitude = t.accuracy([334567.89, 500000.0], [6254321.12, 6254321.12])
    assert latitude[0] == pytest.approx(0.25 * 6378160.0 * math.pi / 648000)
    assert 0.0 < longitude[0] < 0.5 * 6378160.0 * math.pi / 648000
    assert np.isnan(latitude[1]) and np.isnan(longitude[1])


def test_threads_give_the_bits_of_one_thread():
    # Cartesian input: each point's iteration starts from the latitude of the one before.
    rng = np.random.default_rng(7)
    latitude, longitude = rng.uniform(-38, -12, 40000), rng.uniform(114, 153, 40000)
    x, y, z = tarvo.Transformer("AGD84", "AGD84:xyz").transform(latitude, longitude,
                                                                 rng.uniform(0, 900, 40000))
    one = tarvo.Transformer("AMG:xyz", "MGA:56", threads=1).transform(x, y, z)
    for threads in (2, 3, 8):
        split = tarvo.Transformer("AMG:xyz", "MGA:56", threads=threads)
        assert split.threads == threads
        for a, b in zip(split.transform(x, y, z), one):
            assert a.tobytes() == b.tobytes(), f"{threads} threads"


def test_python_threads_share_one_transformer():
    # Arrays long enough to be split over the Transformer's own threads as well.
    from concurrent.futures import ThreadPoolExecutor
    t = tarvo.Transformer("AMG:56", "MGA:56", threads=3)
    east, north = np.tile(EAST, 2000), np.tile(NORTH, 2000)
    with ThreadPoolExecutor(4) as pool:
        results = list(pool.map(lambda _: t.transform(east, north), range(8)))
    for e, n in results:
        np.testing.assert_array_equal(e, np.tile(REFERENCE[0], 2000))
        np.testing.assert_array_equal(n, np.tile(REFERENCE[1], 2000))


def test_pickles_as_its_arguments(grid):
    for t in (AMG_TO_MGA, tarvo.Transformer("MGA:56", "AMG:56", grid=grid),
              tarvo.Transformer("AMG:56", "MGA:56", params={"tx": 1, "ty": 2, "tz": 3, "rx": 0,
                                                            "ry": 0, "rz": 0, "scale": 0})):
        copy = pickle.loads(pickle.dumps(t))
        assert repr(copy) == repr(t)
        for a, b in zip(copy.transform(EAST, NORTH), t.transform(EAST, NORTH)):
            np.testing.assert_array_equal(a, b)
    # Unpickled twice in one process: built once (a Dask worker reads the grid once).
    assert pickle.loads(pickle.dumps(AMG_TO_MGA)) is pickle.loads(pickle.dumps(AMG_TO_MGA))


# --- The Dask example --------------------------------------------------------------------------

def test_the_dask_example_converts_a_partitioned_dataset(tmp_path):
    pytest.importorskip("distributed")
    pd = pytest.importorskip("pandas")
    example = Path(__file__).resolve().parents[2] / "examples" / "dask_convert.py"
    subprocess.run([sys.executable, str(example), "--make", "3000", "--files", "3",
                    str(tmp_path / "in"), str(tmp_path / "out")],
                   check=True, capture_output=True, timeout=240)
    source = pd.concat([pd.read_csv(p) for p in sorted((tmp_path / "in").glob("*.csv"))])
    result = pd.concat([pd.read_csv(p) for p in sorted((tmp_path / "out").glob("*.csv"))])
    assert list(result["name"]) == list(source["name"])
    e, n, h = AMG_TO_MGA.transform(source["east"], source["north"], source["height"])
    for column, expected in (("east", e), ("north", n), ("height", h)):
        np.testing.assert_allclose(result[column], expected, rtol=0, atol=0.0005)
