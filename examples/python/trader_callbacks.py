#!/usr/bin/env python3
"""The one-to-one layer: log in, print the instruments of an exchange.

    python3 trader_callbacks.py tcp://127.0.0.1:17001 [investor] [password]

The callbacks run on the library's threads; the main thread waits for them through an Event.
Exit status: 0 done, 1 refused, 3 no answer within 10 seconds.
"""
import sys
import threading

import narv


class Trader(narv.CNarvSqelTraderSpi):
    def __init__(self, api, investor, password):
        self.api = api
        self.login = narv.NarvLoginReqRecord(InvestorID=investor, InvestorPassword=password)
        self.done = threading.Event()
        self.status = 0

    def OnConnected(self):
        self.api.ReqLogin(self.login, 1)  # requests are allowed inside callbacks

    def OnLoginRsp(self, loginRsp, rspInfo, requestId, isLast):
        if rspInfo is not None and rspInfo.ErrorID != 0:
            print(f"login refused: {rspInfo.ErrorID} {rspInfo.ErrorMsg}")
            self.status = 1
            self.done.set()
            return
        print(f"logged in, trading day {loginRsp.TradingDay}, session {loginRsp.SessionID}")
        self.api.ReqInstrumentQuery(narv.NarvInstrumentQueryRecord(ExchangeID="SHFE"), 2)

    def OnInstrumentQueryRsp(self, instrument, rspInfo, requestId, isLast):
        if instrument is not None:
            print(f"  {instrument.InstrumentID:8} {instrument.InstrumentName:12} tick {instrument.MinMovement:g}")
        if isLast:
            self.done.set()


def main(argv):
    front = argv[1] if len(argv) > 1 else "tcp://127.0.0.1:17001"
    investor = argv[2] if len(argv) > 2 else "demo"
    password = argv[3] if len(argv) > 3 else "demo123"
    print(f"narv {narv.CNarvSqelTraderApi.GetApiVersion()}")
    api = narv.CNarvSqelTraderApi.CreateSqelTraderApi()
    trader = Trader(api, investor, password)
    api.RegisterSpi(trader)
    api.RegisterFront(front)
    api.Init()
    answered = trader.done.wait(10)
    api.Release()
    return trader.status if answered else 3


if __name__ == "__main__":
    sys.exit(main(sys.argv))
