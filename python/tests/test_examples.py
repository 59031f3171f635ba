"""The example scripts of examples/python run against the simulator and say what they did."""
import subprocess
import sys

from conftest import REPOSITORY, WAIT_SECONDS

EXAMPLES = REPOSITORY / "examples" / "python"


def run(script, *args):
    return subprocess.run([sys.executable, str(EXAMPLES / script), *args], capture_output=True, text=True,
                          timeout=4 * WAIT_SECONDS)


def test_callback_example(fronts):
    result = run("trader_callbacks.py", fronts.trade)
    assert result.returncode == 0, result.stderr
    assert "logged in" in result.stdout and "cu2601" in result.stdout


def test_asyncio_example(fronts):
    result = run("aio_trader.py", fronts.trade, fronts.quote, "sc2602", "INE")
    assert result.returncode == 0, result.stderr
    assert "traded 1" in result.stdout and "position sc2602 long" in result.stdout
