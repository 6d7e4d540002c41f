"""The package tarvo: imported from the build tree and from an installation, its stub, its
exceptions."""

import ast
import os
import pickle
import subprocess
import sys
from pathlib import Path

import pytest

import tarvo
from tarvo import _tarvo

BUILD_DIR = os.environ.get("TARVO_BUILD_DIR")
needs_build = pytest.mark.skipif(BUILD_DIR is None, reason="needs TARVO_BUILD_DIR")

# A fresh interpreter, in a folder of its own, that imports tarvo from `path` only and uses it.
IMPORT_CHECK = """
import sys, tarvo
print(tarvo.__file__, tarvo._tarvo.__file__, tarvo.__version__)
assert tarvo.angles.format(-35.5, "dms", 0) == "-35 30 00"
"""


def import_from(path, folder):
    environment = {**os.environ, "PYTHONPATH": str(path)}
    result = subprocess.run([sys.executable, "-s", "-c", IMPORT_CHECK], cwd=folder,
                            env=environment, capture_output=True, text=True, check=True)
    package, compiled, version = result.stdout.split()
    return Path(package), Path(compiled), version


@needs_build
def test_imports_from_the_build_tree(tmp_path):
    package, compiled, version = import_from(Path(BUILD_DIR) / "python", tmp_path)
    assert package.parent == compiled.parent == Path(BUILD_DIR) / "python" / "tarvo"
    assert version == tarvo.__version__


@needs_build
def test_imports_from_an_installation(tmp_path):
    prefix = tmp_path / "prefix"
    subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", prefix, "--component",
                    "python"], check=True, capture_output=True)
    installed = prefix / os.environ["TARVO_PYTHON_INSTALL_DIR"]
    names = {path.name for path in (installed / "tarvo").iterdir()}
    compiled = {name for name in names if name.startswith("_tarvo.cpython-")}
    assert len(compiled) == 1
    source = Path(__file__).resolve().parents[2] / "python" / "tarvo"
    assert names - compiled == {path.name for path in source.iterdir()}
    package, _, _ = import_from(installed, tmp_path)
    assert package == installed / "tarvo" / "__init__.py"


def test_the_stub_declares_what_the_compiled_part_holds():
    stub = ast.parse((Path(tarvo.__file__).parent / "_tarvo.pyi").read_text())
    declared = {node.name for node in stub.body
                if isinstance(node, (ast.FunctionDef, ast.ClassDef))}
    declared |= {node.target.id for node in stub.body if isinstance(node, ast.AnnAssign)}
    assert declared == {name for name in dir(_tarvo) if not name.startswith("__")} | {
        "__version__"}


def test_exceptions_are_caught_as_python_programs_expect():
    assert issubclass(tarvo.GridFileError, tarvo.TarvoError)
    assert issubclass(tarvo.OutsideGridError, tarvo.TarvoError)
    assert issubclass(tarvo.OutsideGridError, ValueError)
    error = tarvo.OutsideGridError("Point outside the grid", (3, 1))
    # Dask sends exceptions from its workers pickled.
    copy = pickle.loads(pickle.dumps(error))
    assert (type(copy), str(copy), copy.index) == (tarvo.OutsideGridError,
                                                   "Point outside the grid", (3, 1))
