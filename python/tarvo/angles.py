"""Latitudes and longitudes as texts in the program's seven notations, over whole arrays.

Notations, by the names tarvo-convert's ``--input-format`` takes (any case) or by their
labels:

=========  ==============  ===============  ==========================================
name       label           35 12 34.5678    at ``decimals=4``
=========  ==============  ===============  ==========================================
packed     DDD.MMSSsssss   35.12345678      degrees, two digits each of minutes and
                                            seconds, then decimals of seconds
dms        DDD MM SS.ssss  35 12 34.5678    blanks between the parts
degrees    DDD.dddddddddd  35.20960217      decimal degrees (also ``deg``)
degmin     DDD.MMmmmmm     35.12576130      degrees, then minutes with decimals (``dm``)
radians    Radians         0.61452349       (also ``rad``)
seconds    SSSSSS.ssss     126754.5678      arc seconds (also ``sec``)
minutes    MM.mmmmmm       2112.57613000    arc minutes (also ``min``)
=========  ==============  ===============  ==========================================

Values are decimal degrees by default: the numbers numpy computes with and pyproj takes
for latitude and longitude. ``unit="packed"`` gives and takes
the packed number DDD.MMSSsss instead, as the program itself keeps angles and its packed
files hold them. Either way the sign is the one written: the program's files carry southern
latitudes as positive numbers, and these functions keep them so (negate them for a
south-negative convention).

``decimals`` is the resolution in decimals of arc seconds, 0 to 6: the default 5 is 0.3 mm
on the ground; 4 (3 mm) is what the program works with under the 7-parameter method, 5
under NTv2. A text is read as tarvo-convert reads a field at that resolution (decimal
degrees to at most 5 decimals of seconds, degree-minutes, radians, arc seconds and arc
minutes to 4); a value is rounded to it (a seconds field that would round to 60 carries
into the minute) and written as tarvo-convert writes it: packed, decimal degrees,
degree-minutes, radians and arc minutes with ``decimals + 4`` decimals, arc seconds with
``decimals``, ``dms`` with ``decimals`` decimals of seconds.

Texts must be the notation's whole (blanks around them aside); a packed or ``dms`` text with
60 or more minutes or seconds is refused rather than carried into the next unit.
"""

from __future__ import annotations

from typing import Literal, Sequence, Tuple, Union, overload

import numpy as np
import numpy.typing as npt

from tarvo import _tarvo

#: The notations' names, in the order of the program's lists.
NOTATIONS: Tuple[str, ...] = _tarvo.ANGLE_NOTATIONS

Unit = Literal["degrees", "packed"]
Errors = Literal["raise", "nan"]


@overload
def parse(texts: str, notation: str, *, decimals: int = 5, unit: Unit = "degrees",
          errors: Errors = "raise") -> float: ...
@overload
def parse(texts: Union[Sequence[str], npt.ArrayLike], notation: str, *, decimals: int = 5,
          unit: Unit = "degrees", errors: Errors = "raise") -> npt.NDArray[np.float64]: ...


def parse(texts, notation, *, decimals=5, unit="degrees", errors="raise"):
    """The values of latitude or longitude texts in a notation.

    ``texts``: one text, or any sequence or array of them (a list, a numpy array, a pandas
    Series); the result is a float for one text and a float64 array of the same shape
    otherwise. ``unit``: "degrees" (decimal degrees) or "packed" (DDD.MMSSsss).

    A text that is no angle in the notation (not the notation's form, minutes or seconds of
    60 or more, 360 degrees or more) raises ``ValueError`` naming its index and the reason,
    or gives NaN with ``errors="nan"`` (so do missing values of a pandas column).
    """
    array = np.asarray(texts, dtype=np.str_, order="C")
    if not array.dtype.isnative:
        array = array.astype(array.dtype.newbyteorder("="))
    values = _tarvo.parse_angles(array, notation, decimals, unit, errors)
    return float(values) if values.ndim == 0 else values


@overload
def format(values: float, notation: str, decimals: int = 5, *,
           unit: Unit = "degrees") -> str: ...
@overload
def format(values: npt.ArrayLike, notation: str, decimals: int = 5, *,
           unit: Unit = "degrees") -> npt.NDArray[np.str_]: ...


def format(values, notation, decimals=5, *, unit="degrees"):
    """Latitude or longitude values as texts in a notation, rounded to ``decimals``.

    ``values``: one number, or any sequence or array of them; the result is a str for one
    number and an array of str (numpy dtype 'U') of the same shape otherwise. NaN (no
    value, as a transformation gives for a point outside the grid) is written as "". A
    value of 360 degrees or more, an infinity, or a packed value with 60 or more minutes or
    seconds raises ``ValueError`` naming its index.
    """
    array = np.asarray(values, dtype=np.float64, order="C")
    texts = _tarvo.format_angles(array, notation, decimals, unit)
    return str(texts[()]) if texts.ndim == 0 else texts


__all__ = ["NOTATIONS", "format", "parse"]
