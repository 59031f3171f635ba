"""Fixtures of the narv package tests: the bundled front simulator and a callback recorder.

The simulator binary comes from $NARV_FRONT_SIMULATOR (set by CTest) or the default build tree.
"""
import os
import subprocess
import sys
import threading
from dataclasses import dataclass
from pathlib import Path

import pytest

REPOSITORY = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(Path(__file__).resolve().parent))

WAIT_SECONDS = 15  # upper bound of every wait; a passing test is woken by the event itself


@dataclass
class Fronts:
    trade: str
    quote: str


def simulator_binary() -> str:
    return os.environ.get("NARV_FRONT_SIMULATOR",
                          str(REPOSITORY / "build/tools/FrontSimulator/narv_front_simulator"))


class Simulator:
    """One simulator process; its first output line names its ports."""

    def __init__(self, *options: str):
        self.process = subprocess.Popen([simulator_binary(), *options], stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        line = self.process.stdout.readline().split()
        if len(line) != 2:
            self.stop()
            raise RuntimeError(f"the simulator did not start: {line}")
        fields = dict(item.split("=") for item in line)
        self.fronts = Fronts("tcp://" + fields["trade"], "tcp://" + fields["quote"])

    def stop(self) -> None:
        self.process.terminate()
        self.process.wait(timeout=WAIT_SECONDS)
        self.process.stdout.close()


@pytest.fixture(scope="session")
def fronts():
    simulator = Simulator("--quote-rate", "50")
    yield simulator.fronts
    simulator.stop()


@pytest.fixture
def start_simulator():
    """Starts simulators with options of the test (faults); stops them afterwards."""
    started = []

    def start(*options: str) -> Fronts:
        started.append(Simulator(*options))
        return started[-1].fronts
    yield start
    for simulator in started:
        simulator.stop()


class Recorder:
    """Collects callbacks as (name, args) from the library's threads; tests take them by name, in any
    order, so a callback that arrives before the one awaited is kept for later."""

    def __init__(self):
        self._events = []
        self._arrived = threading.Condition()

    def record(self, name, *args):
        with self._arrived:
            self._events.append((name, args))
            self._arrived.notify_all()

    def recorded(self, name):
        """The arguments of the callbacks called name that were recorded and not taken yet."""
        with self._arrived:
            return [args for got, args in self._events if got == name]

    def wait_for(self, name, predicate=lambda *args: True):
        """Takes the first callback called name whose arguments satisfy predicate, waiting for it."""
        def take():
            for index, (got, args) in enumerate(self._events):
                if got == name and predicate(*args):
                    del self._events[index]
                    return [args]  # a list, so even a callback without arguments counts as found
            return None
        with self._arrived:
            found = self._arrived.wait_for(take, timeout=WAIT_SECONDS)
        if found is None:
            raise AssertionError(f"{name} did not arrive")
        return found[0]
