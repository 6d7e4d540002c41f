"""One batch conversion of a coordinate file, as ``tarvo-convert`` makes it.

    tarvo.convert_file("points.csv", "points_mga.csv", from_="AMG:56", to="MGA:56",
                       fields=(2, 3, 4), method="medium", params="national",
                       contents="with-input")

The keyword arguments are tarvo-convert's options by the same names, with underscores for
hyphens (``input_units`` for ``--input-units``; ``from_`` for ``--from``, since ``from`` is
a Python keyword), and take the same values: texts, numbers or paths, and for ``fields``
and ``zone_fields`` also a sequence (``(2, 3, "ignore")``). ``force=True`` replaces an
existing output file. The settings start at the program's defaults, as tarvo-convert's in a
folder without settings files: the High Accuracy (NTv2) method without a grid, AGD/AMG zone
55 to GDA/MGA zone 55, CSV files, East and North in and out, results only.

The output is written, as by tarvo-convert, under a temporary name and takes its name only
when the run has finished: a refused or failed run leaves an existing output as it was.
The conversion runs without the GIL.

Errors carry the program's messages: ``ValueError`` for an option or a combination of
settings the conversion refuses, ``tarvo.GridFileError`` for a grid file that cannot be read
or used, ``FileExistsError`` for an existing output without
``force``, ``FileNotFoundError`` for an input that does not open, ``OSError`` for a run
that could not read or write its files to the end.
"""

from __future__ import annotations

import os
from dataclasses import dataclass
from typing import Any, Sequence, Tuple

from tarvo import _tarvo

# tarvo-convert's options that take a value, by their keyword names.
_OPTIONS = ("from", "to", "input_units", "output_units", "type", "header_lines", "fields",
            "t27_height", "zone_fields", "input_format", "output_format", "method", "grid",
            "grid2020", "params", "contents", "on_bad_record", "jobs")


@dataclass(frozen=True)
class ConversionResult:
    """What a conversion did: the records converted and those left out."""

    count: int  #: records converted
    outside_grid: int  #: records outside the NTv2 grid, not converted
    no_result: int  #: records whose results are no coordinates, not converted
    skipped: int  #: lines without a coordinate left out (``on_bad_record="skip"``)
    skipped_lines: Tuple[int, ...]  #: the first ten of their line numbers
    stopped_at_line: int  #: the line that ended the run before the data's end, or 0
    written: bool  #: the output holds this run (False: nothing converted, output as it was)


def _value(name: str, value: Any) -> str:
    if isinstance(value, (str, os.PathLike)):
        return os.fspath(value)
    if name in ("fields", "zone_fields") and isinstance(value, Sequence):
        return ",".join(str(part) for part in value)
    if isinstance(value, bool) or not isinstance(value, int):
        raise TypeError(f"convert_file() argument '{name}' must be a text, a number or a path, "
                        f"not {type(value).__name__}")
    return str(value)


def convert_file(input: "str | os.PathLike[str]", output: "str | os.PathLike[str]",
                 **options: Any) -> ConversionResult:
    """Converts the coordinate file ``input`` into ``output``; see the module's text."""
    arguments = ["--input=" + os.fspath(input), "--output=" + os.fspath(output)]
    for keyword, value in options.items():
        name = "from" if keyword == "from_" else keyword
        if name == "force":
            if value:
                arguments.append("--force")
            continue
        if name not in _OPTIONS:
            raise TypeError(f"convert_file() got an unexpected keyword argument '{keyword}'")
        arguments.append(f"--{name.replace('_', '-')}={_value(keyword, value)}")
    counts = _tarvo.convert_file(arguments)
    counts["skipped_lines"] = tuple(counts["skipped_lines"])
    return ConversionResult(**counts)
