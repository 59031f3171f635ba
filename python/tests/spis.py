"""Callback classes of the tests: every callback goes into a Recorder."""
import narv
from conftest import Recorder


def recording(base):
    """A subclass of base whose every callback records itself, built from the base's own methods."""
    def make(name):
        def callback(self, *args):
            self.recorder.record(name, *args)
        return callback

    methods = {name: make(name) for name in dir(base) if name.startswith("On")}

    def __init__(self):
        self.recorder = Recorder()
    methods["__init__"] = __init__
    return type("Recording" + base.__name__, (base,), methods)


RecordingTraderSpi = recording(narv.CNarvSqelTraderSpi)
RecordingMdSpi = recording(narv.CNarvSqelMdSpi)
