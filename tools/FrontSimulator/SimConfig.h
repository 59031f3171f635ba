// What the simulated front serves: accounts, instruments, the market's pace and the faults to inject.
// Everything has a default, so a bare start gives a usable demo market.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SimAccount {
    std::string investorId;
    std::string password;
    double funds = 0.0;
    std::string name;
};

struct SimInstrument {
    std::string instrumentId;
    std::string exchangeId;
    double preSettle = 0.0;  // the day's reference price; the walk starts here
    double tick = 1.0;
    std::int32_t multiplier = 1;
    double marginRate = 0.1;
    double feeRate = 0.0001;  // of the traded value
};

// Faults are injected on the first `connections` connections of the chosen services (0 = every one).
struct SimFaults {
    bool trade = true;
    bool quote = true;
    std::uint32_t connections = 0;
    std::uint32_t closeAfter = 0;      // close the connection once this many messages were sent
    std::uint32_t silenceAfter = 0;    // send nothing more, heartbeats included, after this many
    std::uint32_t oversizedAfter = 0;  // announce a frame above the size limit after this many
    std::uint32_t splitWrites = 0;     // write every frame in pieces of at most this many bytes

    bool Any() const { return closeAfter || silenceAfter || oversizedAfter || splitWrites; }
};

struct SimConfig {
    std::string listenHost = "127.0.0.1";
    std::uint16_t tradePort = 0;  // 0: a free port, printed at start
    std::uint16_t quotePort = 0;
    std::string tradingDay;  // YYYY-MM-DD; empty: today's local date
    std::uint32_t seed = 1;
    double quoteRate = 2.0;  // quote updates per second
    std::uint32_t heartbeatSeconds = 30;
    std::uint32_t idleTimeoutSeconds = 120;
    std::int32_t maxOrderQty = 1000;
    std::int32_t frontId = 1;  // high half of every trade SessionID; quote sessions use frontId + 1
    double priceLimitRate = 0.08;
    std::vector<SimAccount> accounts;
    std::vector<SimInstrument> instruments;
    SimFaults faults;

    const SimAccount* FindAccount(const std::string& investorId) const;
    const SimInstrument* FindInstrument(const std::string& instrumentId) const;
};

// The largest front number: the quote service numbers its sessions with the next one.
constexpr std::int32_t kSimMaxFrontId = 0x7FFFFFFE;

// A 64-bit SessionID from a front number (0 to kSimMaxFrontId + 1) and a session number.
inline std::int64_t SimSessionId(std::int32_t front, std::uint32_t session) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(front) << 32) | session);
}

// The configuration a bare start uses: one demo investor, a handful of futures on several exchanges.
SimConfig DefaultSimConfig();

// "ID:PASSWORD:FUNDS[:NAME]"; false when malformed.
bool ParseSimAccount(const std::string& text, SimAccount& account);
// "ID:EXCHANGE:PRICE[:TICK[:MULTIPLIER[:MARGIN_RATE[:FEE_RATE]]]]"; false when malformed.
bool ParseSimInstrument(const std::string& text, SimInstrument& instrument);

// Outcome of reading the command line (and the file it names).
struct SimConfigParse {
    enum class Result { Run, Help, Error } result = Result::Run;
    std::string message;  // the help text, or what was wrong
};

SimConfigParse ParseSimCommandLine(int argc, const char* const argv[], SimConfig& config);
