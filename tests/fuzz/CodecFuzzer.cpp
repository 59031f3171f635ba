// Arbitrary bytes as a received message: the envelope, nested packages, record sets and every kind of
// binding, with storage smaller than the values the bytes may announce.
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "APIPackage.h"

namespace {

struct Everything {
    std::int16_t s;
    std::int32_t i;
    double d;
    std::int64_t l;
    char c;
    char shortText[5];  // for a 15-character row
    char fullText[16];
    char wideText[257];
};

TZOBindingList Bind(Everything& e, TZOFieldBinding (&b)[8]) {
    b[0] = {&TZOField::RspNo, &e.s, sizeof e.s, 0, nullptr, 0, 0, 0};
    b[1] = {&TZOField::Qty, &e.i, sizeof e.i, 0, nullptr, 0, 0, 0};
    b[2] = {&TZOField::Price, &e.d, sizeof e.d, 0, nullptr, 0, 0, 0};
    b[3] = {&TZOField::QtyTotal, &e.l, sizeof e.l, 0, nullptr, 0, 0, 0};
    b[4] = {&TZOField::BSFlag, &e.c, sizeof e.c, 0, nullptr, 0, 0, 0};
    b[5] = {&TZOField::InvestorID, e.shortText, sizeof e.shortText, 0, nullptr, 0, 0, 0};
    b[6] = {&TZOField::InstrumentID, e.fullText, sizeof e.fullText, 0, nullptr, 0, 0, 0};
    b[7] = {&TZOField::RspDesc, e.wideText, sizeof e.wideText, 0, nullptr, 0, 0, 0};
    return {b, 8};
}

void DecodeAll(const std::uint8_t* data, std::uint32_t length) {
    Everything e{};
    TZOFieldBinding b[8];
    (void)DecodeFields(Bind(e, b), data, length);  // any input: only crashes and overruns are faults here
}

void Walk(CTZOPackage& package, int depth) {
    if (!package.IsAttached() || depth > 4) return;
    DecodeAll(package.Data(), package.Length());
    for (std::uint16_t id : {TZOField::RspInfo.id, TZOField::Order.id, TZOField::LoginRsp.id}) {
        CTZOPackage child;
        if (package.FindField(id, &child) == 0) Walk(child, depth + 1);
        if (auto shared = package.GetPackage(id)) Walk(*shared, depth + 1);
    }
    CTZORecordSet list;
    if (package.GetRecordSet(TZOField::OrderList.id, &list) == 0) {
        while (list.NextRecord()) DecodeAll(list.RecordData(), list.RecordLength());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kAPIMessageMaxSize) return 0;
    // An exact-size copy: any read past the message is a reported overflow.
    std::unique_ptr<std::uint8_t[]> message(new std::uint8_t[size ? size : 1]);
    std::memcpy(message.get(), data, size);
    CAPIPackage envelope;
    envelope.OpenReceived(message.get(), static_cast<std::uint32_t>(size));
    Walk(envelope, 0);

    CTZOPackage raw;
    raw.Attach(message.get(), 0, static_cast<std::uint32_t>(size), nullptr);
    for (std::uint16_t id : {TZOField::ApiHead.id, TZOField::ApiBody.id, std::uint16_t(0)}) raw.Find(id);
    Walk(raw, 0);
    return 0;
}
