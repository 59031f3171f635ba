"""Records: layout, text conversion both ways, limits, copies."""
import copy
import subprocess

import pytest

import narv

# "已撤消" (cancelled) in GBK, as the back end writes order status texts.
CANCELLED_GBK = b"\xd2\xd1\xb3\xb7\xcf\xfb"


def test_gbk_bytes_match_iconv():
    converted = subprocess.run(["iconv", "-f", "UTF-8", "-t", "GBK"], input="已撤消".encode(),
                               capture_output=True, check=True).stdout
    assert converted == CANCELLED_GBK


def test_every_record_is_exported_with_its_size():
    sizes = {"NarvRspInfoRecord": 88, "NarvLoginReqRecord": 122, "NarvInputOrderRecord": 392,
             "NarvOrderRecord": 856, "NarvDepthQuoteRecord": 568, "NarvInstrumentRecord": 616}
    for name, size in sizes.items():
        assert len(getattr(narv, name)().to_bytes()) == size


def test_text_is_gbk_in_the_record_and_str_for_the_user():
    order = narv.NarvOrderRecord()
    order.OrderStatusDesc = "已撤消"
    raw = order.to_bytes()
    assert raw[439:439 + 7] == CANCELLED_GBK + b"\0"
    assert narv.NarvOrderRecord.from_bytes(raw).OrderStatusDesc == "已撤消"


def test_text_that_is_not_gbk_survives_a_round_trip():
    raw = bytearray(narv.NarvRspInfoRecord().to_bytes())
    raw[4:7] = b"\xff\xfeA"
    info = narv.NarvRspInfoRecord.from_bytes(bytes(raw))
    again = narv.NarvRspInfoRecord(ErrorMsg=info.ErrorMsg)
    assert again.to_bytes()[4:8] == b"\xff\xfeA\0"


@pytest.mark.parametrize("field, value", [
    ("InvestorID", "x" * 16),        # 16 characters into char[16]: no room for the terminator
    ("FirmID", "中" * 6),              # 12 GBK bytes into char[11]
])
def test_too_long_text_raises_instead_of_cutting(field, value):
    record = narv.NarvLoginReqRecord(InvestorID="kept")
    with pytest.raises(ValueError, match=field):
        setattr(record, field, value)
    assert record.InvestorID == "kept"


def test_longest_text_that_fits_is_stored_whole():
    record = narv.NarvLoginReqRecord(InvestorID="x" * 15, FirmID="中" * 5)
    assert (record.InvestorID, record.FirmID) == ("x" * 15, "中" * 5)


@pytest.mark.parametrize("value, error", [
    ("€", UnicodeEncodeError),       # not in GBK
    ("a\0b", ValueError),            # would end the text early
    (5, TypeError),
])
def test_bad_texts_are_refused(value, error):
    with pytest.raises(error):
        narv.NarvLoginReqRecord().InvestorID = value


def test_character_fields_are_one_character_strings():
    order = narv.NarvInputOrderRecord()
    assert order.BSFlag == ""
    order.BSFlag = "1"
    assert order.BSFlag == "1" and order.to_bytes()[85:86] == b"1"
    for bad in ("12", "中"):
        with pytest.raises(ValueError):
            order.BSFlag = bad


def test_numbers_keep_their_types_and_range():
    order = narv.NarvInputOrderRecord(Price=71230.5, Qty=3)
    assert (order.Price, order.Qty) == (71230.5, 3)
    with pytest.raises(TypeError):
        order.Qty = 2 ** 31


def test_repr_dict_equality_and_copies():
    record = narv.NarvLogoutRecord(InvestorID="demo")
    assert repr(record) == "NarvLogoutRecord(FirmID='', InvestorID='demo')"
    assert record.to_dict() == {"FirmID": "", "InvestorID": "demo"}
    duplicate = copy.copy(record)
    assert duplicate == record
    duplicate.InvestorID = "other"
    assert duplicate != record and record.InvestorID == "demo"


def test_unknown_field_and_wrong_size_are_refused():
    with pytest.raises(AttributeError):
        narv.NarvLogoutRecord(Investor="demo")
    with pytest.raises(ValueError):
        narv.NarvLogoutRecord.from_bytes(b"\0" * 26)
