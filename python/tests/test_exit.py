"""An interpreter that exits with live API objects, callbacks running, ends promptly and cleanly."""
import subprocess
import sys
import textwrap

EXIT_SECONDS = 60  # a hang shows as a failed run instead of a stuck suite


def run(script: str) -> subprocess.CompletedProcess:
    return subprocess.run([sys.executable, "-c", textwrap.dedent(script)], capture_output=True, text=True,
                          timeout=EXIT_SECONDS)


def test_exit_with_live_objects_while_quotes_flow(fronts):
    result = run(f"""
        import threading, narv
        arrived = threading.Event()

        class Spi(narv.CNarvSqelMdSpi):
            def OnConnected(self):
                api.ReqLogin(narv.NarvLoginReqRecord(InvestorID="demo", InvestorPassword="demo123"), 1)
            def OnLoginRsp(self, *args):
                api.ReqQuotSubscribe(["cu2601", "au2602", "sc2602"])
            def OnDepthQuoteNty(self, quote):
                arrived.set()

        api = narv.CNarvSqelMdApi.CreateSqelMdApi()
        trader = narv.CNarvSqelTraderApi.CreateSqelTraderApi()
        spi = Spi()
        api.RegisterSpi(spi)
        api.RegisterFront("{fronts.quote}")
        api.Init()
        trader.RegisterFront("{fronts.trade}")
        trader.Init()
        assert arrived.wait(15)
        threading.Thread(target=lambda: [None for _ in iter(int, 1)], daemon=True).start()
        print("exiting")
    """)
    assert result.returncode == 0, result.stderr
    assert result.stdout == "exiting\n"
