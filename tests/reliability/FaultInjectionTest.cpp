// Faults on the way to the front and what must hold through each: the reason the connection closes
// with, exactly one loss reported, a new connection straight after, no message half-delivered, nothing
// lost, duplicated or reordered.
#include <gtest/gtest.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "FrontProxy.h"
#include "FrontSimulator.h"
#include "NELOOrderRecords.h"
#include "NELOQueryRecords.h"
#include "NELOSessionRecords.h"
#include "NELOTradeApiImp.h"
#include "TZOByteOrder.h"
#include "TZORecordLayout.h"
#include "TransportRig.h"
#include "support/ScriptedFront.h"
#include "support/Waiting.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr char kInvestor[] = "demo";
constexpr char kPassword[] = "demo123";

int WriteLogin(CAPIPackage& package) {
    NELOLoginReqRecord login{};
    std::strcpy(login.InvestorID, kInvestor);
    std::strcpy(login.InvestorPassword, kPassword);
    return TZOAddRecord(package, TZOField::LoginReq.id, kNELOLoginReqLayout, &login) < 0 ? -1 : 0;
}

TransportSettings QuickSettings(std::uint16_t heartbeatTimeout = 120) {
    TransportSettings settings;
    settings.heartbeatTimeout = heartbeatTimeout;
    settings.reconnectDelay = 50ms;
    return settings;
}

// The simulator with only its trade service in play and the given faults on its first connection.
class SimulatorFront {
public:
    explicit SimulatorFront(SimFaults faults, std::uint32_t heartbeatSeconds = 30, std::uint16_t tradePort = 0) {
        SimConfig config = DefaultSimConfig();
        config.tradePort = tradePort;
        config.heartbeatSeconds = heartbeatSeconds;
        faults.quote = false;
        faults.connections = 1;
        config.faults = faults;
        sim_ = std::make_unique<CFrontSimulator>(config);
        sim_->Open();
        sim_->RunInBackground();
    }
    std::string TradeAddress() const { return "127.0.0.1:" + std::to_string(sim_->TradePort()); }
    CFrontSimulator& Sim() { return *sim_; }

private:
    std::unique_ptr<CFrontSimulator> sim_;
};

// ---- faults of a connection that was up ---------------------------------------------------------------

struct ConnectionFault {
    const char* name;
    SimFaults faults;
    const char* closeReason;  // nullptr: the fault must not close the connection at all
};

TEST(ConnectionFaults, EachClosesWithItsReasonOnceAndTheNextConnectionServes) {
    SimFaults silence;
    silence.silenceAfter = 1;  // the login reply, then nothing, heartbeats included
    SimFaults oversized;
    oversized.oversizedAfter = 1;  // the login reply, then a length word above the limit
    SimFaults closed;
    closed.closeAfter = 1;  // the login reply, then the front closes
    SimFaults byteByByte;
    byteByByte.splitWrites = 1;  // every frame written one byte at a time
    const ConnectionFault cases[] = {
        {"peer silence", silence, kCloseReasonHeartbeatTimeout},
        {"oversized frame", oversized, kCloseReasonPackageTooLarge},
        {"front closes", closed, kCloseReasonTransportError},
        {"frames in one-byte writes", byteByByte, nullptr},
    };
    for (const ConnectionFault& c : cases) {
        SCOPED_TRACE(c.name);
        // Heartbeats every second against a four-second timeout: only the fault ends a connection.
        SimulatorFront front(c.faults, 1);
        CTransportRig rig({front.TradeAddress()}, QuickSettings(4));
        ASSERT_TRUE(rig.WaitForConnections(1));
        ASSERT_TRUE(rig.Send(116, 1, WriteLogin));
        ASSERT_TRUE(rig.WaitForService(117));
        if (c.closeReason == nullptr) {
            EXPECT_EQ(rig.Disconnected(), 0);
            continue;
        }
        ASSERT_TRUE(rig.WaitFor([&] { return rig.Disconnected() >= 1; })) << "the fault never closed";
        ASSERT_TRUE(rig.WaitForConnections(2)) << "no new connection after the loss";
        ASSERT_TRUE(rig.Send(116, 2, WriteLogin));
        ASSERT_TRUE(rig.WaitForService(117, 2)) << "the new connection does not serve";
        EXPECT_EQ(rig.CloseReasons(), std::vector<std::string>{c.closeReason});
        EXPECT_EQ(rig.Disconnected(), 1);
        EXPECT_EQ(rig.Count(117), 2u);  // the login reply of each connection, once
    }
}

TEST(ConnectionFaults, ADisconnectInTheMiddleOfAFrameDeliversNothingOfItAndLeavesNoTrace) {
    CScriptedFront front;
    CTransportRig rig({front.Address()}, QuickSettings());
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(rig.WaitForConnections(1));
    const Bytes frame = CScriptedFront::BuildFrame(117, 41, 0, WriteLogin);
    front.SendRaw(Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(frame.size() / 2)));
    front.Drop();
    ASSERT_TRUE(rig.WaitFor([&] { return rig.Disconnected() == 1; }));
    ASSERT_TRUE(front.WaitForConnection());
    ASSERT_TRUE(rig.WaitForConnections(2));
    // The new connection starts from an empty reassembly: its first frame is read as a frame of its own.
    front.SendRaw(CScriptedFront::BuildFrame(117, 42, 0, WriteLogin));
    ASSERT_TRUE(rig.WaitForService(117));
    const std::vector<RigMessage> messages = rig.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].requestId, 42);
    EXPECT_EQ(rig.CloseReasons(), std::vector<std::string>{kCloseReasonTransportError});
}

// ---- fronts that refuse ----------------------------------------------------------------------------------

TEST(RefusingFronts, AreTriedInTurnSilentlyUntilOneAcceptsAndALossStartsOverAtTheFirst) {
    CScriptedFront a(false), b(false);
    CEventRecord<std::size_t> attempts;  // the front of each attempt
    TransportSettings settings = QuickSettings();
    settings.reconnectDelay = 20ms;
    settings.onAttempt = [&](std::size_t front) { attempts.Add(front); };
    auto attemptsReach = [&](std::size_t n) { return attempts.WaitForCount(n, CTransportRig::kPatience); };
    CTransportRig rig({a.Address(), b.Address()}, settings);
    ASSERT_TRUE(attemptsReach(6));
    EXPECT_EQ(rig.Connected(), 0);
    EXPECT_EQ(rig.Disconnected(), 0);  // a failed attempt is never reported

    b.SetAccepting(true);
    ASSERT_TRUE(b.WaitForConnection());
    ASSERT_TRUE(rig.WaitForConnections(1));
    const std::vector<std::size_t> before = attempts.Events();
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(before[i], i % 2) << "attempt " << i;
    EXPECT_EQ(before.back(), 1u);  // the one that succeeded
    EXPECT_EQ(a.ConnectionCount(), 0);

    b.Drop();
    ASSERT_TRUE(rig.WaitFor([&] { return rig.Disconnected() == 1; }));
    ASSERT_TRUE(attemptsReach(before.size() + 2));
    ASSERT_TRUE(b.WaitForConnection());
    ASSERT_TRUE(rig.WaitForConnections(2));
    const std::vector<std::size_t> after = attempts.Events();
    EXPECT_EQ(after[before.size()], 0u) << "after a loss the first front comes first";
    EXPECT_EQ(after[before.size() + 1], 1u);
}

// ---- a peer that stops reading ---------------------------------------------------------------------------

// Accepts one connection and reads nothing until told to; then reads every frame that arrives.
class CStalledPeer {
public:
    CStalledPeer() : acceptor_(io_, {boost::asio::ip::address_v4::loopback(), 0}) {
        // A small receive window, so that the kernel holds little and the client's own queue must grow.
        acceptor_.set_option(boost::asio::socket_base::receive_buffer_size(16384));
        thread_ = std::thread([this] { acceptor_.accept(socket_); });
    }
    ~CStalledPeer() {
        if (thread_.joinable()) thread_.join();
    }
    std::string Address() const { return "127.0.0.1:" + std::to_string(acceptor_.local_endpoint().port()); }

    // Reads `count` frames and returns their payloads' order numbers, in arrival order.
    std::vector<std::int32_t> ReadOrders(std::size_t count, std::uint64_t* bytes) {
        thread_.join();
        std::vector<std::int32_t> numbers;
        Bytes payload;
        *bytes = 0;
        while (numbers.size() < count) {
            std::uint8_t word[4];
            boost::asio::read(socket_, boost::asio::buffer(word));
            payload.resize(tzo_wire::LoadU32(word));
            boost::asio::read(socket_, boost::asio::buffer(payload));
            *bytes += sizeof word + payload.size();
            CAPIPackage package;
            package.OpenReceived(payload.data(), static_cast<std::uint32_t>(payload.size()));
            if (package.ServiceNo != 122) continue;  // a heartbeat
            NELOInputOrderRecord order{};
            if (TZOReadGroup(package, TZOField::InputOrder.id, kNELOInputOrderLayout, &order) != 0) {
                numbers.push_back(-1);
                continue;
            }
            EXPECT_EQ(package.RequestID, order.Qty);
            EXPECT_EQ(std::to_string(order.Qty), order.OrderRef);
            numbers.push_back(order.Qty);
        }
        return numbers;
    }

private:
    boost::asio::io_context io_;
    boost::asio::ip::tcp::acceptor acceptor_;
    boost::asio::ip::tcp::socket socket_{io_};
    std::thread thread_;
};

TEST(StalledPeer, FiftyMebibytesOfRequestsQueueUpAndLeaveWholeAndInOrderAndTheQueueShrinksBack) {
    CStalledPeer peer;
    CTransportRig rig({peer.Address()}, QuickSettings());
    ASSERT_TRUE(rig.WaitForConnections(1));

    NELOInputOrderRecord order{};
    std::strcpy(order.InvestorID, kInvestor);
    std::strcpy(order.InstrumentID, "cu2601");
    std::strcpy(order.ExchangeID, "SHFE");
    std::memset(order.IPAddress, 'i', sizeof order.IPAddress - 1);  // a realistic, full-sized request
    std::memset(order.MacAddress, 'm', sizeof order.MacAddress - 1);
    order.BSFlag = 'B';
    order.OCFlag = 'O';
    order.PriceType = 'L';
    constexpr std::uint64_t kTotal = 50ull << 20;
    std::uint64_t queued = 0;
    std::int32_t count = 0;
    std::uint8_t scratch[kAPIMessageMaxSize];
    const auto writeOrder = [](const NELOInputOrderRecord& record, CAPIPackage& package) {
        return TZOAddRecord(package, TZOField::InputOrder.id, kNELOInputOrderLayout, &record) < 0 ? -1 : 0;
    };
    while (queued < kTotal) {
        order.Qty = count;
        std::snprintf(order.OrderRef, sizeof order.OrderRef, "%d", count);
        CAPIPackage sized;  // the same message built here, for its size
        sized.Begin(122, count, scratch);
        ASSERT_EQ(writeOrder(order, sized), 0);
        queued += kFrameLengthSize + sized.Length();
        ASSERT_TRUE(
            rig.Send(122, count, [order, writeOrder](CAPIPackage& package) { return writeOrder(order, package); }));
        ++count;
    }

    struct QueueState {
        std::uint64_t pending;
        std::size_t blocks;
    };
    const auto queueState = [&] {
        return rig.OnIOThread([&rig] {
            const std::shared_ptr<CServerConnection> connection = rig.Current();
            return QueueState{connection->PendingBytes(), connection->WriteBlockCount()};
        });
    };
    const QueueState full = queueState();  // runs after every request above has been queued
    EXPECT_GE(full.pending, queued - (16ull << 20)) << "the kernel cannot have taken more than this";
    EXPECT_GE(full.blocks, 4u);

    std::uint64_t received = 0;
    const std::vector<std::int32_t> numbers = peer.ReadOrders(static_cast<std::size_t>(count), &received);
    std::vector<std::int32_t> expected(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) expected[static_cast<std::size_t>(i)] = i;
    EXPECT_TRUE(numbers == expected) << "requests lost, duplicated or reordered";
    EXPECT_GE(received, queued);

    // Drained: the extra blocks are given back, one stays for reuse.
    const auto deadline = CTransportRig::Clock::now() + CTransportRig::kPatience;
    QueueState drained = queueState();
    while ((drained.pending != 0 || drained.blocks != 1) && CTransportRig::Clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
        drained = queueState();
    }
    EXPECT_EQ(drained.pending, 0u);
    EXPECT_EQ(drained.blocks, 1u);
    EXPECT_EQ(rig.Disconnected(), 0);
}

// ---- the front killed and restarted during a session ---------------------------------------------------

// The trade client's pushes of the account flow, by kind and, for orders and trades, by identity.
class CFlowRecorder final : public CNELOTradeSpi, public CWaitable {
public:
    void OnFrontConnected() override {
        Note([&] { ++connected; });
    }
    void OnFrontDisconnected() override {
        Note([&] { ++disconnected; });
    }
    void OnLoginRsp(const NELOLoginRspRecord*, const NELORspInfoRecord* info, std::int32_t, std::int32_t) override {
        Note([&] { loginCodes.push_back(info ? info->RspNo : -1); });
    }
    void OnInputOrderRsp(const NELOInputOrderRecord*, const NELORspInfoRecord* info, std::int32_t requestID,
                         std::int32_t) override {
        Note(
            [&] { orderReplies.push_back(std::to_string(requestID) + "=" + std::to_string(info ? info->RspNo : -1)); });
    }
    void OnOrderNty(const NELOOrderRecord* r) override { Push(124, std::string(r->OrderID) + "/" + r->OrderStatus); }
    void OnTradeNty(const NELOTradeRecord* r) override { Push(130, r->MatchID); }
    void OnPosiDetailNty(const NELOPosiDetailRecord*) override { Push(156, ""); }
    void OnFundNty(const NELOFundRecord*) override { Push(157, ""); }
    void OnPosiNty(const NELOPosiRecord*) override { Push(158, ""); }

    int connected = 0;
    int disconnected = 0;
    std::vector<int> loginCodes;
    std::vector<std::string> orderReplies;  // "request=code"
    std::vector<std::string> pushes;        // "kind:identity"

private:
    void Push(int kind, const std::string& identity) {
        Note([&] { pushes.push_back(std::to_string(kind) + ":" + identity); });
    }
};

std::string Describe(const SimFlowEntry& entry) {
    CAPIPackage package;
    package.OpenReceived(entry.message.data(), static_cast<std::uint32_t>(entry.message.size()));
    std::string identity;
    if (entry.kind == 124) {
        NELOOrderRecord order{};
        EXPECT_EQ(TZOReadGroup(package, TZOField::Order.id, kNELOOrderLayout, &order), 0);
        identity = std::string(order.OrderID) + "/" + order.OrderStatus;
    } else if (entry.kind == 130) {
        NELOTradeRecord trade{};
        EXPECT_EQ(TZOReadGroup(package, TZOField::Trade.id, kNELOTradeLayout, &trade), 0);
        identity = trade.MatchID;
    }
    return std::to_string(entry.kind) + ":" + identity;
}

NELOInputOrderRecord MarketBuy() {
    NELOInputOrderRecord order{};
    std::strcpy(order.InvestorID, kInvestor);
    std::strcpy(order.InstrumentID, "cu2601");
    std::strcpy(order.ExchangeID, "SHFE");
    order.BSFlag = 'B';
    order.OCFlag = 'O';
    order.PriceType = 'M';
    order.Qty = 1;
    return order;
}

TEST(FrontRestart, TheSessionResumesWithEveryPushOnceAndInOrder) {
    SimulatorFront front(SimFaults{});
    CFrontProxy proxy(front.Sim().TradePort());
    CFlowRecorder spi;
    CNELOTradeApiImp* client = new CNELOTradeApiImp;
    client->SetTransportSettings(QuickSettings());
    client->RegisterSpi(&spi);
    client->RegisterFront(proxy.Address().c_str());
    ASSERT_EQ(client->Init(), 0);

    NELOLoginReqRecord login{};
    std::strcpy(login.InvestorID, kInvestor);
    std::strcpy(login.InvestorPassword, kPassword);
    const auto logInAndResume = [&](int session) {
        ASSERT_TRUE(spi.WaitUntil([&] { return spi.connected == session; }));
        ASSERT_EQ(client->ReqLogin(&login, session), 0);
        ASSERT_TRUE(spi.WaitUntil([&] { return spi.loginCodes.size() == static_cast<std::size_t>(session); }));
        ASSERT_EQ(spi.loginCodes.back(), 0);
        ASSERT_EQ(client->ReqFlowSubscribe(2, 0), 0);  // account flow from where this client left it
    };
    logInAndResume(1);
    const NELOInputOrderRecord order = MarketBuy();
    for (int i = 0; i < 4; ++i) ASSERT_EQ(client->ReqInputOrder(&order, 100 + i), 0);
    // Replies are not replayed, so the cut comes after the last one; the pushes it released follow it.
    ASSERT_TRUE(spi.WaitUntil([&] { return spi.orderReplies.size() == 4; }));
    proxy.Kill();  // whatever is on its way is lost with the connection
    ASSERT_TRUE(spi.WaitUntil([&] { return spi.disconnected == 1; }));
    EXPECT_EQ(client->ReqInputOrder(&order, 200), -1) << "a request without a front must be refused, not lost";
    {
        // Meanwhile the account keeps trading from another session: those pushes are due on resume.
        CTransportRig other({front.TradeAddress()}, QuickSettings());
        ASSERT_TRUE(other.WaitForConnections(1));
        ASSERT_TRUE(other.Send(116, 1, WriteLogin));
        ASSERT_TRUE(other.WaitForService(117));
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(other.Send(122, 300 + i, [order](CAPIPackage& p) {
                return TZOAddRecord(p, TZOField::InputOrder.id, kNELOInputOrderLayout, &order) < 0 ? -1 : 0;
            }));
        }
        ASSERT_TRUE(other.WaitForService(123, 3));
    }
    proxy.Restart();
    logInAndResume(2);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(client->ReqInputOrder(&order, 400 + i), 0);

    // Every order of this client has been answered, and those of the other session were before, so the
    // flow holds everything they caused; the client has caught up once it has as many pushes as the
    // flow had then.
    ASSERT_TRUE(spi.WaitUntil([&] { return spi.orderReplies.size() == 6; }));
    const auto journalNow = [&] {
        return front.Sim().Call([](CTradeService& trade) {
            std::vector<std::string> entries;
            for (const SimFlowEntry& entry : trade.AccountFlow(kInvestor).Entries()) entries.push_back(Describe(entry));
            return entries;
        });
    };
    std::vector<std::string> journal = journalNow();
    ASSERT_TRUE(spi.WaitUntil([&] { return spi.pushes.size() >= journal.size(); }))
        << "pushes missing after the restart: " << spi.pushes.size() << " of " << journal.size();
    client->Release();
    // Later market steps may add to the flow after the wait; what the client has must be its beginning.
    journal = journalNow();
    // Released: the client's thread has ended, nothing changes the recorder any more.
    ASSERT_LE(spi.pushes.size(), journal.size()) << "more pushes than the flow ever held";
    journal.resize(spi.pushes.size());
    EXPECT_EQ(spi.pushes, journal) << "a push was lost, repeated or reordered";
    EXPECT_EQ(spi.disconnected, 1);
    EXPECT_EQ(spi.connected, 2);
}

// The simulator itself killed and started afresh on the same port: its flows start over at 1, below
// what the client has seen. The client reconnects, logs in, resumes, and the new flow's pushes reach it.
TEST(FrontRestart, AFrontThatLostItsFlowsStillDeliversTheNewOnes) {
    auto first = std::make_unique<SimulatorFront>(SimFaults{});
    const std::uint16_t port = first->Sim().TradePort();
    CFlowRecorder spi;
    CNELOTradeApiImp* client = new CNELOTradeApiImp;
    client->SetTransportSettings(QuickSettings());
    client->RegisterSpi(&spi);
    client->RegisterFront(first->TradeAddress().c_str());
    ASSERT_EQ(client->Init(), 0);

    NELOLoginReqRecord login{};
    std::strcpy(login.InvestorID, kInvestor);
    std::strcpy(login.InvestorPassword, kPassword);
    const NELOInputOrderRecord order = MarketBuy();
    const auto session = [&](int number, SimulatorFront& front, int orders) {
        ASSERT_TRUE(spi.WaitUntil([&] { return spi.connected == number; }));
        const std::size_t pushesBefore = spi.Read([&] { return spi.pushes.size(); });
        const std::size_t repliesBefore = spi.Read([&] { return spi.orderReplies.size(); });
        ASSERT_EQ(client->ReqLogin(&login, number), 0);
        ASSERT_TRUE(spi.WaitUntil([&] { return spi.loginCodes.size() == static_cast<std::size_t>(number); }));
        ASSERT_EQ(client->ReqFlowSubscribe(2, 0), 0);
        for (int i = 0; i < orders; ++i) ASSERT_EQ(client->ReqInputOrder(&order, number * 100 + i), 0);
        ASSERT_TRUE(spi.WaitUntil([&] { return spi.orderReplies.size() == repliesBefore + orders; }));
        const std::size_t flow =
            front.Sim().Call([](CTradeService& trade) { return trade.AccountFlow(kInvestor).Entries().size(); });
        ASSERT_GT(flow, 0u);
        // Each front's flow is new to this client: all of it arrives on top of what came before.
        ASSERT_TRUE(spi.WaitUntil([&] { return spi.pushes.size() >= pushesBefore + flow; })) << "session " << number;
    };
    session(1, *first, 3);
    const std::size_t firstPushes = spi.Read([&] { return spi.pushes.size(); });
    first.reset();  // gone, with everything it remembered
    ASSERT_TRUE(spi.WaitUntil([&] { return spi.disconnected == 1; }));
    SimulatorFront second(SimFaults{}, 30, port);
    session(2, second, 2);
    client->Release();
    const std::vector<SimFlowEntry> entries =
        second.Sim().Call([](CTradeService& trade) { return trade.AccountFlow(kInvestor).Entries(); });
    // Released: the client's thread has ended, nothing changes the recorder any more.
    ASSERT_GE(spi.pushes.size(), firstPushes + entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(spi.pushes[firstPushes + i], Describe(entries[i])) << "push " << i << " of the new flow";
}

}  // namespace
