// narv_dissector_gen: writes the Lua packet dissector for the trade and quote services from the field
// dictionary and the message definitions the libraries themselves use, so that the dissector can never
// drift from the code. The build runs it; the .lua is never edited by hand.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

#include "WireCatalog.h"
#include "WireStream.h"

namespace {

const char kHelp[] =
    "usage: narv_dissector_gen OUTPUT.lua\n"
    "\n"
    "Writes the Lua dissector of the trade and quote services, generated from the field dictionary and\n"
    "the libraries' message definitions. Load it with\n"
    "  tshark -X lua_script:OUTPUT.lua ...   or copy it to Wireshark's personal plugins folder.\n"
    "\n"
    "Exit status: 0 written; 1 the file cannot be written; 2 bad command line.\n";

std::string LuaString(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// The ProtoField constructor of a dictionary row.
std::string ProtoFieldFor(const TZOFieldDef& row) {
    const std::string abbrev = LuaString(std::string("narv.") + row.name);
    const std::string label = LuaString(std::string(row.name) + " (" + std::to_string(row.id) + ")");
    if (TZOIsContainer(row)) return "ProtoField.bytes(" + abbrev + ", " + label + ")";
    switch (row.type) {
        case 'S':
            return "ProtoField.int16(" + abbrev + ", " + label + ", base.DEC)";
        case 'I':
            return "ProtoField.int32(" + abbrev + ", " + label + ", base.DEC)";
        case 'L':
            return "ProtoField.int64(" + abbrev + ", " + label + ", base.DEC)";
        case 'D':
            return "ProtoField.double(" + abbrev + ", " + label + ")";
        default:
            return "ProtoField.string(" + abbrev + ", " + label + ")";
    }
}

// 'S', 'I', 'L', 'D', 'c' (one character), 'T' (text), 'P' (package), 'R' (record set).
char KindOf(const TZOFieldDef& row) {
    if (row.flags & kTZORecordSetFlag) return 'R';
    if (row.flags & kTZOPackageFlag) return 'P';
    if (TZOIsSingleChar(row)) return 'c';
    if (row.type == 'C') return 'T';
    return row.type;
}

void WritePart(std::ostream& out, const WireBodyPart& part) {
    out << "{id=" << part.field->id << ", name=" << LuaString(part.field->name)
        << ", record=" << LuaString(part.record->name)
        << ", list=" << ((part.field->flags & kTZORecordSetFlag) ? "true" : "false") << "}";
}

const char* DirectionCode(WireDirection direction) {
    switch (direction) {
        case WireDirection::ToServer:
            return "\"C->S\"";
        case WireDirection::ToClient:
            return "\"S->C\"";
        default:
            return "nil";
    }
}

void WriteTables(std::ostream& out) {
    const WireCatalog& catalog = TheWireCatalog();

    out << "-- Every dictionary row: its field, wire id, kind and (for text) width.\n";
    out << "local ROWS = {\n";
    for (const TZOFieldDef& row : kTZOFieldDictionary)
        out << "  " << row.name << " = {name=\"" << row.name << "\", field=" << ProtoFieldFor(row) << ", id=" << row.id
            << ", kind=\"" << KindOf(row) << "\", width=" << row.width << "},\n";
    out << "}\n\n";

    out << "-- Every record definition: the rows of its members in member order.\n";
    out << "local RECORDS = {\n";
    for (std::size_t r = 0; r < catalog.recordCount; ++r) {
        const WireRecordDef& record = *catalog.records[r];
        out << "  [" << LuaString(record.name) << "] = {";
        for (std::uint32_t i = 0; i < record.layout->count; ++i)
            out << (i ? ", " : "") << "ROWS." << record.layout->slots[i].field->name;
        out << "},\n";
    }
    out << "}\n\n";

    out << "-- Every message of both services, by ServiceNo.\n";
    out << "local MESSAGES = { trade = {}, quote = {} }\n";
    for (std::size_t m = 0; m < catalog.messageCount; ++m) {
        const WireMessageDef& message = catalog.messages[m];
        out << "MESSAGES." << WireServiceName(message.service) << "[" << message.serviceNo
            << "] = {meaning=" << LuaString(message.meaning) << ", dir=" << DirectionCode(message.direction)
            << ", push=" << (message.isFlowPush ? "true" : "false")
            << ", reply=" << (message.parts[0].field == &TZOField::RspInfo ? "true" : "false") << ", parts={";
        bool first = true;
        for (const WireBodyPart& part : message.parts) {
            if (!part.field) continue;
            if (!first) out << ", ";
            WritePart(out, part);
            first = false;
        }
        out << "}}\n";
    }
    out << "\n-- Push kinds of the two trade flows (RequestID of ServiceNo 1 and 2).\n";
    out << "local PUSH_KINDS = { [1] = {}, [2] = {} }\n";
    for (std::size_t k = 0; k < catalog.pushKindCount; ++k) {
        const WirePushKindDef& kind = catalog.pushKinds[k];
        out << "PUSH_KINDS[" << kind.flow << "][" << kind.kind << "] = {meaning=" << LuaString(kind.meaning)
            << ", parts={";
        WritePart(out, kind.part);
        out << "}}\n";
    }
    out << "\nlocal MAX_FRAME_LENGTH = " << kWireMaxFrameLength << "\n";
    out << "local API_HEAD, API_BODY = " << TZOField::ApiHead.id << ", " << TZOField::ApiBody.id << "\n\n";
}

// The dissection logic; the tables above are all it knows about messages.
const char kLogic[] = R"LUA(
local narv = Proto("narv", "Narv trade and quote services")

local EXTRA = {
  length = ProtoField.uint32("narv.length", "Frame length", base.DEC),
  service = ProtoField.string("narv.service", "Service"),
  direction = ProtoField.string("narv.direction", "Direction"),
  meaning = ProtoField.string("narv.meaning", "Meaning"),
  kind = ProtoField.int32("narv.kind", "Push kind", base.DEC),
  sequence = ProtoField.uint32("narv.sequence", "Flow sequence", base.DEC),
  record = ProtoField.string("narv.record", "Record"),
  unknown = ProtoField.bytes("narv.unknown", "Field not in this message"),
}
local fields = {}
for _, f in pairs(EXTRA) do fields[#fields + 1] = f end
for _, row in pairs(ROWS) do fields[#fields + 1] = row.field end
narv.fields = fields

local malformed = ProtoExpert.new("narv.malformed", "Malformed message", expert.group.MALFORMED, expert.severity.ERROR)
local unexpected = ProtoExpert.new("narv.unexpected", "Field not defined for this message", expert.group.PROTOCOL, expert.severity.WARN)
narv.experts = { malformed, unexpected }

narv.prefs.ports = Pref.range("TCP ports", "", "TCP ports of trade and quote fronts (also found heuristically)", 65535)

-- ServiceNos only one service uses tell a connection's service.
local ONLY = { trade = {}, quote = {} }
for no, _ in pairs(MESSAGES.trade) do if not MESSAGES.quote[no] then ONLY.trade[no] = true end end
for no, _ in pairs(MESSAGES.quote) do if not MESSAGES.trade[no] then ONLY.quote[no] = true end end

local conversations = {}
local messages_in_segment = 0

local function endpoint(address, port) return tostring(address) .. ":" .. tostring(port) end

local function conversation_of(pinfo)
  local a, b = endpoint(pinfo.src, pinfo.src_port), endpoint(pinfo.dst, pinfo.dst_port)
  local key = a < b and (a .. " " .. b) or (b .. " " .. a)
  local state = conversations[key]
  if not state then state = {}; conversations[key] = state end
  return state, a, b
end

local ENC_TEXT = ENC_GB18030 or ENC_ASCII

-- Walks the fields of a package: calls visit(id, header_range, value_offset, value_length) for each one;
-- returns nil, or the offset at which a field did not fit.
local function walk(tvb, offset, length, visit)
  local position, limit = offset, offset + length
  while position < limit do
    if limit - position < 8 then return position end
    local id = tvb(position, 2):uint()
    local ext = tvb(position + 2, 2):uint()
    if limit - position < 8 + ext then return position end
    local n = tvb(position + 4 + ext, 4):uint()
    if n > limit - position - 8 - ext then return position end
    visit(id, position, position + 8 + ext, n, 8 + ext + n)
    position = position + 8 + ext + n
  end
  return nil
end

local SIZES = { S = 2, I = 4, L = 8, D = 8, c = 1 }

local function add_value(tree, tvb, row, value_offset, n, item_range)
  local size = SIZES[row.kind]
  if size and n ~= size then
    -- The field itself cannot hold a value of another size: a text item names it instead.
    local item = tree:add(item_range, row.name .. " (" .. row.id .. "): value of " .. n .. " bytes")
    item:add_proto_expert_info(malformed, row.name .. ": value of " .. n .. " bytes, the type has " .. size)
    return
  end
  if row.kind == "T" or row.kind == "c" then
    -- Texts arrive in GBK; add_packet_field decodes them with the encoding and keeps every character.
    local item
    if n > 0 then item = tree:add_packet_field(row.field, tvb(value_offset, n), ENC_TEXT) else item = tree:add(row.field, item_range, "") end
    if row.kind == "T" and n > row.width then
      item:add_proto_expert_info(malformed, "text longer than its width " .. row.width)
    end
  elseif n > 0 then
    tree:add(row.field, tvb(value_offset, n))
  else
    tree:add(row.field, item_range)
  end
end

-- A record's fields, each named by the member that carries its id, searched from the member after the
-- last match on: senders write members in order, which tells apart two members that share an id.
local function dissect_record(tvb, tree, record_name, offset, length)
  local members = RECORDS[record_name]
  local next_member = 1
  local bad = walk(tvb, offset, length, function(id, header, value_offset, n, total)
    local found
    for step = 0, #members - 1 do
      local i = (next_member - 1 + step) % #members + 1
      if members[i].id == id then found = i; break end
    end
    if found then
      next_member = found + 1
      add_value(tree, tvb, members[found], value_offset, n, tvb(header, total))
    else
      local item = tree:add(EXTRA.unknown, tvb(header, total))
      item:add_proto_expert_info(unexpected, "field id " .. id .. " is not part of " .. record_name)
    end
  end)
  if bad then tree:add_proto_expert_info(malformed, record_name .. ": a field runs past its package at byte " .. (bad - offset)) end
end

local function dissect_body(tvb, tree, parts, offset, length)
  local bad = walk(tvb, offset, length, function(id, header, value_offset, n, total)
    local part
    for _, p in ipairs(parts) do if p.id == id then part = p end end
    if not part then
      local item = tree:add(EXTRA.unknown, tvb(header, total))
      item:add_proto_expert_info(unexpected, "field id " .. id .. " is not part of this message")
      return
    end
    local group = tree:add(ROWS[part.name].field, tvb(header, total))
    group:set_text(part.name .. " (" .. part.id .. ")" .. (part.list and " list of " or " ") .. part.record)
    if not part.list then
      dissect_record(tvb, group, part.record, value_offset, n)
      return
    end
    local position, limit, row = value_offset, value_offset + n, 0
    while position < limit do
      if limit - position < 4 then group:add_proto_expert_info(malformed, "a row length is cut short"); return end
      local r = tvb(position, 4):uint()
      if r > limit - position - 4 then group:add_proto_expert_info(malformed, "a row runs past the list"); return end
      row = row + 1
      local row_tree = group:add(tvb(position, 4 + r), "row " .. row .. " (" .. part.record .. ")")
      row_tree:add(EXTRA.record, tvb(position, 4 + r), part.record)
      dissect_record(tvb, row_tree, part.record, position + 4, r)
      position = position + 4 + r
    end
  end)
  if bad then tree:add_proto_expert_info(malformed, "body: a field runs past its package") end
end

local function find_field(tvb, offset, length, wanted)
  local found_offset, found_length
  walk(tvb, offset, length, function(id, header, value_offset, n)
    if id == wanted and not found_offset then found_offset, found_length = value_offset, n end
  end)
  return found_offset, found_length
end

local function dissect_frame(tvb, pinfo, tree)
  local length = tvb(0, 4):uint()
  local frame = tree:add(narv, tvb(0, math.min(tvb:len(), length + 4)))
  frame:add(EXTRA.length, tvb(0, 4))
  if length > MAX_FRAME_LENGTH then
    frame:add_proto_expert_info(malformed, "frame length " .. length .. " above " .. MAX_FRAME_LENGTH .. ": the libraries close the connection")
    return
  end
  local state, from, to = conversation_of(pinfo)
  local payload = 4
  local service_no, request_id, end_flag = 0, 0, 0
  local head_offset, head_length = find_field(tvb, payload, length, API_HEAD)
  if head_offset then
    local head = frame:add(ROWS.ApiHead.field, tvb(head_offset - 8, head_length + 8))
    head:set_text("ApiHead (" .. API_HEAD .. ")")
    local so = find_field(tvb, head_offset, head_length, ROWS.ServiceNo.id)
    local ro = find_field(tvb, head_offset, head_length, ROWS.RequestID.id)
    local eo = find_field(tvb, head_offset, head_length, ROWS.EndFlag.id)
    if so then service_no = tvb(so, 2):uint(); head:add(ROWS.ServiceNo.field, tvb(so, 2)) end
    if ro then request_id = tvb(ro, 4):int(); head:add(ROWS.RequestID.field, tvb(ro, 4)) end
    if eo then end_flag = tvb(eo, 4):int(); head:add(ROWS.EndFlag.field, tvb(eo, 4)) end
  else
    frame:add_proto_expert_info(malformed, "no ApiHead: read as ServiceNo 0")
  end

  if not state.service then
    if ONLY.trade[service_no] then state.service = "trade" elseif ONLY.quote[service_no] then state.service = "quote" end
  end
  local service = state.service or "trade"
  local message = MESSAGES[service][service_no]
  frame:add(EXTRA.service, service .. (state.service and "" or "?"))
  if message and message.dir and not state.client then
    state.client = message.dir == "C->S" and from or to
  end
  local direction = state.client and (state.client == from and "C->S" or "S->C") or (message and message.dir) or "?"
  frame:add(EXTRA.direction, direction)
  local meaning = message and message.meaning or "unknown ServiceNo"
  local parts = message and message.parts or {}
  local info = service_no .. " " .. meaning
  if message and message.push then
    local kind = PUSH_KINDS[service_no][request_id]
    frame:add(EXTRA.kind, request_id)
    frame:add(EXTRA.sequence, end_flag >= 0 and end_flag or end_flag + 4294967296)
    meaning = meaning .. ": " .. (kind and kind.meaning or "unknown kind")
    parts = kind and kind.parts or {}
    info = service_no .. " " .. meaning .. " seq " .. (end_flag >= 0 and end_flag or end_flag + 4294967296)
  else
    info = info .. " id " .. request_id .. (message and message.reply and (end_flag == 0 and " last" or " more") or "")
  end
  frame:add(EXTRA.meaning, meaning)
  frame:append_text(": " .. direction .. " " .. info)
  pinfo.cols.protocol = "NARV"
  messages_in_segment = messages_in_segment + 1
  if messages_in_segment == 1 then
    pinfo.cols.info = direction .. " " .. info
  else
    pinfo.cols.info:append(" | " .. info)
  end

  local body_offset, body_length = find_field(tvb, payload, length, API_BODY)
  if body_offset then
    local body = frame:add(ROWS.ApiBody.field, tvb(body_offset - 8, body_length + 8))
    body:set_text("ApiBody (" .. API_BODY .. ")")
    dissect_body(tvb, body, parts, body_offset, body_length)
  end
end

local function frame_length(tvb, pinfo, offset)
  local length = tvb(offset, 4):uint()
  if length > MAX_FRAME_LENGTH then return 4 end  -- flagged by dissect_frame; nothing after it is framed
  return length + 4
end

function narv.dissector(tvb, pinfo, tree)
  messages_in_segment = 0  -- the Info column lists every message of the segment
  dissect_tcp_pdus(tvb, tree, 4, frame_length, dissect_frame)
  return tvb:len()
end

-- A connection is ours when its first bytes are a frame length followed by an envelope field.
local function heuristic(tvb, pinfo, tree)
  if tvb:len() < 12 then return false end
  local length = tvb(0, 4):uint()
  local id = tvb(4, 2):uint()
  if length < 8 or length > MAX_FRAME_LENGTH or (id ~= API_HEAD and id ~= API_BODY) then return false end
  pinfo.conversation = narv
  narv.dissector(tvb, pinfo, tree)
  return true
end
narv:register_heuristic("tcp", heuristic)

local tcp_ports = DissectorTable.get("tcp.port")
tcp_ports:add_for_decode_as(narv)
local registered = nil
function narv.prefs_changed()
  if registered then tcp_ports:remove(registered, narv) end
  registered = narv.prefs.ports
  if registered and tostring(registered) ~= "" then tcp_ports:add(registered, narv) end
end
)LUA";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help"))) {
        std::cout << kHelp;
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << "narv_dissector_gen: give the output file\n(--help tells more)\n";
        return 2;
    }
    std::ostringstream lua;
    lua << "-- The packet dissector of the trade and quote services (protocol \"narv\").\n"
        << "-- Generated by narv_dissector_gen from the field dictionary and the message definitions of the\n"
        << "-- client libraries: do not edit, rebuild instead.\n"
        << "--   tshark -X lua_script:narv.lua -r capture.pcap\n"
        << "-- Fields are named narv.<dictionary row>, e.g. narv.InstrumentID, narv.ServiceNo; also narv.service,\n"
        << "-- narv.direction, narv.meaning, narv.kind and narv.sequence (flow pushes), narv.record (list rows).\n\n";
    WriteTables(lua);
    lua << kLogic;
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << lua.str();
    out.close();
    if (!out) {
        std::cerr << "narv_dissector_gen: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
