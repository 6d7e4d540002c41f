"""Tarvo from Python: the program's engine over numpy arrays.

The same readers, writers and geodesy as the Tarvo program and tarvo-convert, compiled into
``tarvo._tarvo``; the loops run without the GIL.

    >>> import tarvo
    >>> tarvo.angles.parse(["35 12 34.5678", "150 30 00"], "dms")
    array([ 35.20960217, 150.5       ])
    >>> tarvo.angles.format(-35.2096021667, "dms", 4)
    '-35 12 34.5678'

Errors are exceptions with the program's messages: ``ValueError`` for a bad argument or an
unreadable value, ``GridFileError`` for a grid file that cannot be read or used,
``OutsideGridError`` for a point outside the grid.
"""

from __future__ import annotations

from typing import Tuple, Union


class TarvoError(Exception):
    """The base of Tarvo's own exceptions."""


class GridFileError(TarvoError):
    """A grid file cannot be read or used. The message is the program's, with the reason."""


class OutsideGridError(TarvoError, ValueError):
    """A point lies outside every sub-grid of the grid file.

    ``index`` is the first such point's index in the arrays given: an int, or a tuple of
    ints for arrays of more than one dimension.
    """

    def __init__(self, message: str, index: Union[int, Tuple[int, ...]]) -> None:
        super().__init__(message)
        self.index = index

    def __reduce__(self):  # pickled with its index, as Dask sends it between processes
        return (type(self), (str(self), self.index))


from tarvo._tarvo import __version__  # noqa: E402  (the exceptions are defined first)
from tarvo import angles  # noqa: E402
from tarvo.convert import ConversionResult, convert_file  # noqa: E402
from tarvo.transformer import PARAMETER_KEYS, Transformer  # noqa: E402

__all__ = ["ConversionResult", "GridFileError", "OutsideGridError", "PARAMETER_KEYS",
           "TarvoError", "Transformer", "__version__", "angles", "convert_file"]
