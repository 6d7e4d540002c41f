"""The compiled part of tarvo (pybind11); use the package tarvo itself.

Its functions take arrays in the one form they loop over (made by the pure Python modules)
and run their loops without the GIL.
"""

from typing import Any, Dict, List, Optional, Sequence, Tuple

import numpy as np
import numpy.typing as npt

__version__: str

#: The names of the seven angle notations, as tarvo-convert spells them.
ANGLE_NOTATIONS: Tuple[str, ...]

def parse_angles(texts: npt.NDArray[np.str_], notation: str, decimals: int, unit: str,
                 errors: str) -> npt.NDArray[np.float64]:
    """Values of a C-contiguous array of texts (dtype 'U'), of the same shape; see
    tarvo.angles.parse."""

def format_angles(values: npt.NDArray[np.float64], notation: str, decimals: int,
                  unit: str) -> npt.NDArray[np.str_]:
    """Texts (dtype 'U') of an array of values, of the same shape; see
    tarvo.angles.format."""

def convert_file(arguments: List[str]) -> Dict[str, Any]:
    """One batch conversion from tarvo-convert's arguments (without the program's name); the
    counts of the run. See tarvo.convert_file."""

class Chain:
    """One transformation chain over arrays, with its worker threads; see
    tarvo.Transformer, which builds it and documents the arguments."""

    def __init__(self, source: str, target: str, method: str, preset: Optional[str],
                 parameters: Optional[Sequence[float]], grid: Optional[str],
                 grid2020: Optional[str], threads: int) -> None: ...
    def transform(self, x: npt.ArrayLike, y: npt.ArrayLike, z: Optional[npt.ArrayLike],
                  raise_outside: bool) -> Tuple[npt.NDArray[np.float64], ...]:
        """The target's values per point: two, and the height (or Z) when z is given or a
        side is Cartesian."""
    def factors(self, x: npt.ArrayLike, y: npt.ArrayLike, z: Optional[npt.ArrayLike]
                ) -> Tuple[npt.NDArray[np.float64], npt.NDArray[np.float64]]:
        """Point scale and convergence (degrees)."""
    def accuracy(self, x: npt.ArrayLike, y: npt.ArrayLike, z: Optional[npt.ArrayLike]
                 ) -> Tuple[npt.NDArray[np.float64], npt.NDArray[np.float64]]:
        """The grid's latitude and longitude accuracy (metres)."""
    @property
    def source_form(self) -> str:
        """"grid", "geographic" or "cartesian"."""
    @property
    def target_form(self) -> str: ...
    @property
    def source_datum(self) -> str:
        """"AGD66", "AGD84" or "GDA94"."""
    @property
    def target_datum(self) -> str: ...
    @property
    def threads(self) -> int: ...
