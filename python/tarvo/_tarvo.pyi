"""The compiled part of tarvo (pybind11); use the package tarvo itself.

Its functions take arrays in the one form they loop over (made by the pure Python modules)
and run their loops without the GIL.
"""

from typing import Tuple
from typing import Any, Dict, List

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
