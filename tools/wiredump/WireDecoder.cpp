#include "WireDecoder.h"

#include <iconv.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "APIPackage.h"
#include "TZOByteOrder.h"

namespace {

// One field as it lies in a package: header checked, value inside the package.
struct RawField {
    std::uint16_t id = 0;
    const std::uint8_t* value = nullptr;
    std::uint32_t length = 0;
    std::uint32_t offset = 0;
};

// Walks the fields of one package in wire order. Stops at the end, or at the first field whose header or
// value does not fit; Error() then says why (the codec would refuse the package there too).
class FieldWalker {
public:
    FieldWalker(const std::uint8_t* data, std::uint32_t length) : data_(data), length_(length) {}

    bool Next(RawField& field) {
        if (failed_ || position_ == length_) return false;
        const std::uint32_t rest = length_ - position_;
        if (rest < kTZOFieldHeaderSize) return Fail("a field header is cut short");
        const std::uint8_t* p = data_ + position_;
        const std::uint32_t extension = tzo_wire::LoadU16(p + 2);
        if (rest < kTZOFieldHeaderSize + extension) return Fail("a field's extension runs past its package");
        const std::uint32_t valueLength = tzo_wire::LoadU32(p + 4 + extension);
        if (valueLength > rest - kTZOFieldHeaderSize - extension) return Fail("a field's value runs past its package");
        field.id = tzo_wire::LoadU16(p);
        field.value = p + kTZOFieldHeaderSize + extension;
        field.length = valueLength;
        field.offset = position_;
        position_ += kTZOFieldHeaderSize + extension + valueLength;
        return true;
    }

    const std::string& Error() const { return error_; }

private:
    bool Fail(const char* what) {
        failed_ = true;
        error_ = std::string(what) + " (at byte " + std::to_string(position_) + " of " + std::to_string(length_) + ")";
        return false;
    }

    const std::uint8_t* data_;
    std::uint32_t length_;
    std::uint32_t position_ = 0;
    bool failed_ = false;
    std::string error_;
};

// What every level of one message's decoding needs to know.
struct WireDecodeContext {
    const std::uint8_t* payload;  // start of the message, for offsets of masked values
    bool showSecrets;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string FieldLabel(const TZOFieldDef& row) { return std::string(row.name) + " (" + std::to_string(row.id) + ")"; }

// The value of a plain field read as its dictionary row says; a problem when the length does not fit.
std::string FormatValue(const TZOFieldDef& row, const RawField& field, std::string& problem) {
    auto expect = [&](std::uint32_t size) {
        if (field.length == size) return true;
        problem = FieldLabel(row) + ": value of " + std::to_string(field.length) + " bytes, the type has " +
                  std::to_string(size);
        return false;
    };
    char number[64];
    switch (row.type) {
        case 'S':
            if (!expect(2)) break;
            std::snprintf(number, sizeof number, "%d", static_cast<std::int16_t>(tzo_wire::LoadU16(field.value)));
            return number;
        case 'I':
            if (!expect(4)) break;
            std::snprintf(number, sizeof number, "%" PRId32, static_cast<std::int32_t>(tzo_wire::LoadU32(field.value)));
            return number;
        case 'L':
            if (!expect(8)) break;
            std::snprintf(number, sizeof number, "%" PRId64, static_cast<std::int64_t>(tzo_wire::LoadU64(field.value)));
            return number;
        case 'D':
            if (!expect(8)) break;
            std::snprintf(number, sizeof number, "%.15g", tzo_wire::LoadDouble(field.value));
            return number;
        case 'C':
            if (TZOIsSingleChar(row)) {
                if (!expect(1)) break;
                if (field.value[0] == 0) return "'\\0'";
                return "'" + WireTextForDisplay(field.value, 1) + "'";
            }
            if (field.length > row.width)
                problem = FieldLabel(row) + ": text of " + std::to_string(field.length) + " characters, at most " +
                          std::to_string(row.width) + " are read";
            return Quoted(WireTextForDisplay(field.value, field.length));
        default:
            problem = FieldLabel(row) + ": the dictionary gives no readable type";
            break;
    }
    return "<" + WireHex(field.value, field.length) + ">";
}

// Fields whose values are secrets: shown masked unless the reader asks for them, so that a dump pasted
// into a bug report or a chat does not hand out an investor's password.
const TZOFieldDef* const kSecretFields[] = {&TZOField::InvestorPassword, &TZOField::InvestorOldPassword,
                                            &TZOField::InvestorNewPassword};

bool IsSecret(const TZOFieldDef& row) {
    for (const TZOFieldDef* secret : kSecretFields)
        if (secret == &row) return true;
    return false;
}

constexpr char kMaskedValue[] = "******** (hidden; --show-passwords shows it)";

void AddProblem(WireDecodedMessage& out, WireNode& node, const std::string& problem) {
    out.problems.push_back(problem);
    node.children.push_back({"!! " + problem, {}});
}

// The fields of one record. Each field is named by the layout slot that carries its id, searched from the
// slot after the last match onwards: senders write fields in layout order, which is also how the decoder
// tells apart two rows of one layout that share an id (AskQty5 and ExchangeID of a quote).
void DecodeRecord(const WireRecordDef& record, const std::uint8_t* data, std::uint32_t length, WireNode& node,
                  WireDecodedMessage& out, const WireDecodeContext& context) {
    const TZORecordLayout& layout = *record.layout;
    FieldWalker walker(data, length);
    RawField field;
    std::uint32_t next = 0;
    while (walker.Next(field)) {
        const TZOFieldSlot* slot = nullptr;
        for (std::uint32_t step = 0; step < layout.count && !slot; ++step) {
            const std::uint32_t i = (next + step) % layout.count;
            if (layout.slots[i].field->id == field.id) {
                slot = &layout.slots[i];
                next = i + 1;
            }
        }
        if (!slot) {
            const std::string problem = "field id " + std::to_string(field.id) + " is not part of " + record.name;
            AddProblem(out, node, problem + ": <" + WireHex(field.value, field.length) + ">");
            continue;
        }
        std::string problem;
        std::string value = FormatValue(*slot->field, field, problem);
        if (!context.showSecrets && IsSecret(*slot->field) && field.length > 0 && field.value[0] != 0) {
            value = kMaskedValue;
            out.secretRanges.push_back({static_cast<std::uint32_t>(field.value - context.payload), field.length});
        }
        node.children.push_back({FieldLabel(*slot->field) + " = " + value, {}});
        if (!problem.empty()) AddProblem(out, node, problem);
    }
    if (!walker.Error().empty()) AddProblem(out, node, std::string(record.name) + ": " + walker.Error());
}

void DecodeList(const WireBodyPart& part, const RawField& field, WireNode& node, WireDecodedMessage& out,
                const WireDecodeContext& context) {
    std::uint32_t position = 0;
    int row = 0;
    while (position < field.length) {
        if (field.length - position < 4) {
            AddProblem(out, node, FieldLabel(*part.field) + ": a row length is cut short");
            return;
        }
        const std::uint32_t rowLength = tzo_wire::LoadU32(field.value + position);
        if (rowLength > field.length - position - 4) {
            AddProblem(out, node,
                       FieldLabel(*part.field) + ": row " + std::to_string(row + 1) + " of " +
                           std::to_string(rowLength) + " bytes runs past the list");
            return;
        }
        WireNode rowNode{"row " + std::to_string(++row) + " (" + part.record->name + ")", {}};
        DecodeRecord(*part.record, field.value + position + 4, rowLength, rowNode, out, context);
        node.children.push_back(std::move(rowNode));
        position += 4 + rowLength;
    }
    if (row == 0) node.children.push_back({"(no rows)", {}});
}

void DecodeBody(const WireBodyPart* parts, std::size_t partCount, const std::uint8_t* data, std::uint32_t length,
                WireDecodedMessage& out, const WireDecodeContext& context) {
    FieldWalker walker(data, length);
    RawField field;
    while (walker.Next(field)) {
        const WireBodyPart* part = nullptr;
        for (std::size_t i = 0; i < partCount && !part; ++i)
            if (parts[i].field && parts[i].field->id == field.id) part = &parts[i];
        if (!part) {
            WireNode node{"field id " + std::to_string(field.id) + " (" + std::to_string(field.length) + " bytes)", {}};
            AddProblem(out, node,
                       "field id " + std::to_string(field.id) + " is not part of this message: <" +
                           WireHex(field.value, field.length) + ">");
            out.body.push_back(std::move(node));
            continue;
        }
        const bool isList = (part->field->flags & kTZORecordSetFlag) != 0;
        WireNode node{FieldLabel(*part->field) + (isList ? " list of " : " ") + part->record->name, {}};
        if (isList)
            DecodeList(*part, field, node, out, context);
        else
            DecodeRecord(*part->record, field.value, field.length, node, out, context);
        out.body.push_back(std::move(node));
    }
    if (!walker.Error().empty()) {
        out.problems.push_back("body: " + walker.Error());
        out.body.push_back({"!! body: " + walker.Error(), {}});
    }
}

// The envelope's two fields, found like the libraries find them (by id, in any order).
bool FindEnvelopeField(const std::uint8_t* payload, std::uint32_t length, std::uint16_t id, RawField& found,
                       std::string& error) {
    FieldWalker walker(payload, length);
    RawField field;
    while (walker.Next(field))
        if (field.id == id) {
            found = field;
            return true;
        }
    error = walker.Error();
    return false;
}

}  // namespace

WireDecodedMessage DecodeWireMessage(WireService service, const std::uint8_t* payload, std::uint32_t length,
                                     bool showSecrets) {
    WireDecodedMessage out;
    const WireDecodeContext context{payload, showSecrets};
    RawField head, body;
    std::string headError, bodyError;
    out.hasHead = FindEnvelopeField(payload, length, TZOField::ApiHead.id, head, headError);
    const bool hasBody = FindEnvelopeField(payload, length, TZOField::ApiBody.id, body, bodyError);

    // The head values exactly as the libraries read them.
    CAPIPackage package;
    package.OpenReceived(payload, length);
    out.serviceNo = package.ServiceNo;
    out.requestId = package.RequestID;
    out.endFlag = package.EndFlag;

    if (!out.hasHead)
        out.problems.push_back("no ApiHead, the libraries read ServiceNo 0" +
                               (headError.empty() ? "" : ": " + headError));
    out.message = FindWireMessage(service, out.serviceNo);

    std::string meaning =
        out.message ? out.message->meaning : "unknown to the " + std::string(WireServiceName(service)) + " service";
    out.summary = "ServiceNo " + std::to_string(out.serviceNo) + " (" + meaning + ")";
    if (out.message && out.message->isFlowPush) {
        out.pushKind = FindWirePushKind(out.serviceNo, out.requestId);
        out.summary += "  kind " + std::to_string(out.requestId) + " (" +
                       (out.pushKind ? out.pushKind->meaning : "unknown kind") + ")  sequence " +
                       std::to_string(static_cast<std::uint32_t>(out.endFlag));
    } else {
        out.summary += "  RequestID " + std::to_string(out.requestId) + "  EndFlag " + std::to_string(out.endFlag);
        // Replies may span several packages: EndFlag 0 marks the last one.
        if (out.message && out.message->parts[0].field == &TZOField::RspInfo)
            out.summary += out.endFlag == 0 ? " (last)" : " (more follow)";
    }

    if (!hasBody) {
        if (!bodyError.empty()) out.problems.push_back(bodyError);
        if (out.hasHead && out.serviceNo != 0) out.problems.push_back("no ApiBody");
        return out;
    }
    if (!out.message) {
        if (body.length > 0)
            out.body.push_back(
                {"body of " + std::to_string(body.length) + " bytes: <" + WireHex(body.value, body.length) + ">", {}});
        return out;
    }
    if (out.message->isFlowPush) {
        if (out.pushKind)
            DecodeBody(&out.pushKind->part, 1, body.value, body.length, out, context);
        else if (body.length > 0)
            out.body.push_back(
                {"body of " + std::to_string(body.length) + " bytes: <" + WireHex(body.value, body.length) + ">", {}});
        return out;
    }
    DecodeBody(out.message->parts, kWireMaxBodyParts, body.value, body.length, out, context);
    return out;
}

std::string WireHex(const std::uint8_t* bytes, std::uint32_t length, std::uint32_t limit) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    const std::uint32_t shown = length < limit ? length : limit;
    for (std::uint32_t i = 0; i < shown; ++i) {
        if (i) text += ' ';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    if (shown < length) text += " ... (" + std::to_string(length) + " bytes)";
    return text;
}

std::string WireTextForDisplay(const std::uint8_t* bytes, std::uint32_t length) {
    std::string text;
    text.reserve(length);
    std::uint32_t i = 0;
    iconv_t converter = reinterpret_cast<iconv_t>(-1);
    while (i < length) {
        const std::uint8_t c = bytes[i];
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            text += static_cast<char>(c);
            ++i;
            continue;
        }
        // A GBK character is a lead byte 0x81-0xFE and a trail byte 0x40-0xFE (not 0x7F).
        if (c >= 0x81 && c <= 0xfe && i + 1 < length) {
            if (converter == reinterpret_cast<iconv_t>(-1)) converter = iconv_open("UTF-8", "GBK");
            if (converter != reinterpret_cast<iconv_t>(-1)) {
                char in[2] = {static_cast<char>(c), static_cast<char>(bytes[i + 1])};
                char out[8];
                char* inPtr = in;
                char* outPtr = out;
                std::size_t inLeft = 2, outLeft = sizeof out;
                iconv(converter, nullptr, nullptr, nullptr, nullptr);
                if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) &&
                    inLeft == 0) {
                    text.append(out, static_cast<std::size_t>(outPtr - out));
                    i += 2;
                    continue;
                }
            }
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
        text += escaped;
        ++i;
    }
    if (converter != reinterpret_cast<iconv_t>(-1)) iconv_close(converter);
    return text;
}
