"""narv: the narv trading and market-data libraries from Python.

Two layers:

* the classes of this module mirror the C++ interfaces one to one: ``CNarvSqelTraderApi`` and
  ``CNarvSqelMdApi`` with every request under its C++ name, the callback classes
  ``CNarvSqelTraderSpi`` and ``CNarvSqelMdSpi`` to subclass, and every record (``NarvLoginReqRecord``,
  ``NarvOrderRecord``, ...) with the header's field names as attributes;
* ``narv.aio`` wraps them for asyncio: awaitable login, orders, queries and async iterators.

Texts are str (GBK in the records); a text too long for its field raises ValueError.
"""

from ._callbacks import CNarvSqelMdSpi, CNarvSqelTraderSpi
from ._narv import *  # noqa: F401,F403  (records and the two API classes)
from ._narv import CNarvSqelMdApi, CNarvSqelTraderApi

__version__ = CNarvSqelTraderApi.GetApiVersion()
