"""Transformer: points between the program's coordinate systems, over whole numpy arrays.

The program's own chain: the inverse projection of the source zone, the datum change by a
7-parameter set or an NTv2 grid, the projection into the target zone, exactly as
tarvo-convert computes them, with the loops spread over every core and the GIL released.

    >>> import tarvo
    >>> t = tarvo.Transformer("AMG:56", "MGA:56", params="national")
    >>> e, n = t.transform([334567.89], [6254321.12])
    >>> print(f"{e[0]:.3f} {n[0]:.3f}")
    334673.656 6254512.006
"""

from __future__ import annotations

import functools
import os
from typing import Any, Dict, Mapping, Optional, Tuple, Union

import numpy as np
import numpy.typing as npt

from tarvo import _tarvo

#: The keys of a parameter dict, in the order of the program's parameter file Tarvo.var:
#: the GDA side's ellipsoid (semi-major axis in metres, inverse flattening), the
#: translations in metres, the rotations of the coordinate frame in seconds of arc and the
#: scale difference in parts per million.
PARAMETER_KEYS = ("a", "rf", "tx", "ty", "tz", "rx", "ry", "rz", "scale")

_GRS80 = {"a": 6378137.0, "rf": 298.257222101}

ArrayLike = Union[npt.ArrayLike, float]
Arrays = Tuple[npt.NDArray[np.float64], ...]


def _parameter_values(params: Mapping[str, float]) -> Tuple[float, ...]:
    keys = set(params)
    unknown = sorted(keys - set(PARAMETER_KEYS))
    missing = [k for k in PARAMETER_KEYS if k not in keys and k not in _GRS80]
    if unknown or missing:
        raise ValueError(
            "the parameters are a dict of " + ", ".join(PARAMETER_KEYS)
            + " (a and rf default to GRS80)"
            + (f"; unknown: {', '.join(unknown)}" if unknown else "")
            + (f"; missing: {', '.join(missing)}" if missing else ""))
    merged = dict(_GRS80, **params)
    return tuple(float(merged[k]) for k in PARAMETER_KEYS)


def _grid_stamp(path: Optional[str]) -> Optional[Tuple[int, int]]:
    """The grid file's size and modification time: a replaced file is read afresh."""
    if path is None:
        return None
    try:
        status = os.stat(path)
    except OSError:
        return None
    return (status.st_size, status.st_mtime_ns)


@functools.lru_cache(maxsize=16)
def _cached(arguments: Tuple[Tuple[str, Any], ...], stamp: Any) -> "Transformer":
    del stamp  # part of the key only
    return Transformer(**{k: (dict(v) if k == "params" and isinstance(v, tuple) else v)
                          for k, v in arguments})


def _unpickle(arguments: Tuple[Tuple[str, Any], ...]) -> "Transformer":
    """A Transformer from its arguments, built once per process for the same arguments (and
    the same grid file), so that a Dask worker reads a grid once however many tasks bring
    the Transformer along."""
    grid = dict(arguments).get("grid")
    grid2020 = dict(arguments).get("grid2020")
    return _cached(arguments, (_grid_stamp(grid), _grid_stamp(grid2020)))


class Transformer:
    """Transforms points from a source to a target coordinate system.

    ``source`` and ``target`` are texts (any case): a grid system with its zone as
    tarvo-convert's ``--from`` and ``--to`` spell it (``"AMG:56"``, ``"MGA:55"``,
    ``"ISG:561"``, ``"MGA2020:56"``), a datum for latitude and longitude (``"AGD66"``,
    ``"AGD84"``, ``"GDA94"``, ``"GDA2020"``, or a grid system's, ``"MGA:geo"``), Cartesian
    X, Y, Z (``"GDA94:xyz"``, ``"AMG:xyz"``) or an EPSG code (``"EPSG:20256"``,
    ``"EPSG:20356"``, ``"EPSG:28356"``, ``"EPSG:7856"``, ``"EPSG:4202"``, ``"EPSG:4203"``,
    ``"EPSG:4283"``, ``"EPSG:7844"``, ``"EPSG:4938"``, ``"EPSG:7842"``). AMG and ISG are on
    the AGD datum the method changes (AGD84 for the National set, AGD66 for the Regional
    sets, the grid's own); a system on the other AGD datum is refused.

    ``method`` is ``"medium"`` (the 7-parameter similarity) or ``"high"`` (the NTv2 grid
    ``grid``); by default ``"high"`` when a grid is given, otherwise ``"medium"``.
    The step between GDA94 and GDA2020 is the similarity EPSG:8048, or the GDA94 -> GDA2020
    NTv2 grid ``grid2020`` when one is given (whatever the method of the AGD step).
    ``params`` is a 7-parameter set by name (``"national"``, ``"nsw-vic"``, ``"act"``,
    ``"tasmania"``, ``"nt"``, or the program's labels such as ``"National --> AGD84<>GDA"``)
    or a dict with the keys of ``PARAMETER_KEYS``. ``threads`` is the number of threads the
    arrays are split over (0: one per core); the results are the same for any number.

    Grid coordinates are East, North in metres; latitude and longitude are decimal degrees,
    latitude first and negative south; heights are ellipsoidal, in metres.

    Raises ``ValueError`` for arguments no transformation can use, ``GridFileError`` for a
    grid file that cannot be read (with the reason). A Transformer is immutable, may be used
    by several threads at once, and pickles as its arguments.
    """

    def __init__(self, source: str, target: str, *, method: Optional[str] = None,
                 params: Union[str, Mapping[str, float]] = "national",
                 grid: Union[str, os.PathLike, None] = None,
                 grid2020: Union[str, os.PathLike, None] = None, threads: int = 0) -> None:
        if method is None:
            method = "medium" if grid is None else "high"
        # Absolute, so that a copy unpickled in another folder (a Dask worker's) finds it.
        grid = None if grid is None else os.path.abspath(os.fspath(grid))
        grid2020 = None if grid2020 is None else os.path.abspath(os.fspath(grid2020))
        if isinstance(params, str):
            preset, values = params, None
        elif isinstance(params, Mapping):
            preset, values = None, _parameter_values(params)
        else:
            raise TypeError("params is a preset name or a dict of the seven parameters")
        if isinstance(threads, bool) or not isinstance(threads, int) or threads < 0:
            raise ValueError(f"threads must be a whole number, 0 or more: {threads!r}")
        self._chain = _tarvo.Chain(source, target, method, preset, values, grid, grid2020,
                                   threads)
        self._arguments = (
            ("source", source), ("target", target), ("method", method),
            ("params", params if isinstance(params, str) else tuple(sorted(params.items()))),
            ("grid", grid), ("grid2020", grid2020), ("threads", threads))

    def __reduce__(self):
        return (_unpickle, (self._arguments,))

    def __repr__(self) -> str:
        a = dict(self._arguments)
        return (f"Transformer({a['source']!r}, {a['target']!r}, method={a['method']!r}, "
                f"params={a['params']!r}, grid={a['grid']!r})")

    @property
    def source_datum(self) -> str:
        """The source system's datum: "AGD66", "AGD84", "GDA94" or "GDA2020"."""
        return self._chain.source_datum

    @property
    def target_datum(self) -> str:
        """The target system's datum: "AGD66", "AGD84" or "GDA94"."""
        return self._chain.target_datum

    @property
    def threads(self) -> int:
        """The number of threads the arrays are split over."""
        return self._chain.threads

    def transform(self, x: ArrayLike, y: ArrayLike, z: Optional[ArrayLike] = None, *,
                  errors: str = "nan") -> Arrays:
        """The points in the target system, as float64 arrays of the input's shape.

        ``x``, ``y`` (and ``z``, heights or Cartesian Z) are arrays or sequences of one
        shape. Returns ``(x, y)``, or ``(x, y, z)`` when ``z`` is given or either system is
        Cartesian. A point outside the grid gives NaN (``errors="nan"``) or raises
        ``OutsideGridError`` naming the first such index (``errors="raise"``).
        """
        if errors not in ("nan", "raise"):
            raise ValueError(f"errors is 'nan' or 'raise', not {errors!r}")
        return self._chain.transform(x, y, z, errors == "raise")

    def factors(self, x: ArrayLike, y: ArrayLike, z: Optional[ArrayLike] = None) -> Arrays:
        """Point scale and grid convergence (degrees, positive east of the central
        meridian) of the transformed points in the target grid system; NaN outside the grid.
        ``ValueError`` when the target is no grid system."""
        return self._chain.factors(x, y, z)

    def accuracy(self, x: ArrayLike, y: ArrayLike, z: Optional[ArrayLike] = None) -> Arrays:
        """The grid's accuracy at the points, in metres: ``(latitude, longitude)`` arrays,
        NaN where the grid holds none or the point is outside it. ``ValueError`` unless the
        method is ``"high"``."""
        return self._chain.accuracy(x, y, z)


__all__ = ["PARAMETER_KEYS", "Transformer"]
