"""Builds and installs the narv package with pip, offline:

    python3 -m venv --system-site-packages .venv
    .venv/bin/pip install --no-build-isolation --no-index ./python

The build runs CMake on the repository (Debian's pybind11 and Python headers, found through the
system site packages) for the extension module and the two shared libraries it loads, and places the
libraries next to the module, which finds them there.
"""
import os
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import setup
from setuptools.command.build_py import build_py

HERE = Path(__file__).resolve().parent
REPOSITORY = HERE.parent
LIBRARIES = {"traderapi": "libnarvtraderapi.so.6", "mdapi": "libnarvmduserapi.so.6"}


def version() -> str:
    for line in (REPOSITORY / "CMakeLists.txt").read_text().splitlines():
        if line.startswith("project("):
            return line.split("VERSION")[1].split()[0]
    raise RuntimeError("no project version in CMakeLists.txt")


class BuildWithCMake(build_py):
    """The pure-Python files, the generated ones, the extension module and the libraries."""

    def run(self):
        build = Path(self.build_lib).resolve().parent / "narv-cmake"
        subprocess.check_call(["cmake", "-S", str(REPOSITORY), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                               "-DNARV_BUILD_TESTS=OFF", "-DNARV_BUILD_BENCH=OFF", "-DCMAKE_SKIP_BUILD_RPATH=ON",
                               "-DCMAKE_BUILD_WITH_INSTALL_RPATH=ON", f"-DPython3_EXECUTABLE={sys.executable}"])
        subprocess.check_call(["cmake", "--build", str(build), "--target", "narv_python_module",
                               "-j", str(os.cpu_count() or 1)])
        target = Path(self.build_lib) / "narv"
        shutil.copytree(build / "python" / "narv", target, dirs_exist_ok=True)
        for directory, library in LIBRARIES.items():
            shutil.copy2(build / directory / library, target / library)


setup(
    name="narv",
    version=version(),
    description="The narv trading and market-data libraries from Python, with an asyncio layer",
    packages=["narv"],
    package_data={"narv": ["*.so", "*.so.*", "*.pyi", "py.typed"]},
    python_requires=">=3.8",
    cmdclass={"build_py": BuildWithCMake},
    zip_safe=False,
)
