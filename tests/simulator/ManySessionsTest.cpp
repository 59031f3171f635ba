// The simulated front under many sessions at once: thousands of connections of one investor, every one
// subscribed to the account flow, and every push of the day reaching every one of them in order, none
// missing. The sessions are bare wire clients on one thread of the test; orders come from one more.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <array>
#include <boost/asio.hpp>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "FrontSimulator.h"
#include "NELOOrderRecords.h"
#include "NELOPushRecords.h"
#include "NELOSessionRecords.h"
#include "SimText.h"
#include "SimWireClient.h"
#include "TZOByteOrder.h"
#include "TZOFieldDictionary.h"

namespace {

using boost::asio::ip::tcp;
using namespace std::chrono_literals;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kSessions = 500;  // the sanitizers multiply the cost of every connection
#else
constexpr int kSessions = 5000;
#endif
constexpr int kConnectingAtOnce = 200;  // stays well inside the listener's backlog
constexpr int kOrders = 10;
constexpr auto kPatience = 120s;  // the whole load, generous for a loaded 2-core machine
constexpr std::uint16_t kAccountFlow = 1;

// Every session's socket and the simulator's side of it, with room for the rest of the process.
bool RaiseDescriptorLimit(rlim_t needed) {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return false;
    if (limit.rlim_cur >= needed) return true;
    if (limit.rlim_max < needed) limit.rlim_max = needed;  // allowed to a privileged process only
    limit.rlim_cur = needed;
    if (setrlimit(RLIMIT_NOFILE, &limit) == 0) return true;
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    return setrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur >= needed;
}

std::vector<std::uint8_t> Frame(std::uint16_t serviceNo, const std::function<void(CAPIPackage&)>& body) {
    std::vector<std::uint8_t> frame(4 + kAPIMessageMaxSize);
    CAPIPackage package;
    package.Begin(serviceNo, 0, frame.data() + 4);
    body(package);
    tzo_wire::StoreU32(frame.data(), package.Length());
    frame.resize(4 + package.Length());
    return frame;
}

// Login as the demo investor and subscription of the account flow from its start, sent back to back.
std::vector<std::uint8_t> LoginAndSubscription() {
    std::vector<std::uint8_t> bytes = Frame(116, [](CAPIPackage& p) {
        NELOLoginReqRecord login{};
        SimCopy(login.InvestorID, "demo");
        SimCopy(login.InvestorPassword, "demo123");
        TZOAddRecord(p, TZOField::LoginReq.id, kNELOLoginReqLayout, &login);
    });
    const std::vector<std::uint8_t> subscribe = Frame(3, [](CAPIPackage& p) {
        auto list = p.AddRecordSet(TZOField::FlowSubscribeReqList.id);
        const NELOFlowSubscribeRecord row{kAccountFlow, 0};
        TZOAddRecordToSet(*list, kNELOFlowSubscribeLayout, &row);
    });
    bytes.insert(bytes.end(), subscribe.begin(), subscribe.end());
    return bytes;
}

// What all sessions have seen, shared with the test's thread.
class CLoadLedger {
public:
    void Subscribed() {
        Change([&] { ++subscribed_; });
    }
    void Failed() {
        Change([&] { ++failed_; });
    }
    // A session saw this account-flow sequence number, `inOrder` when it was the one after its last.
    void Pushed(std::uint32_t sequence, bool inOrder) {
        Change([&] {
            if (!inOrder) ++outOfOrder_;
            if (sequence > reached_.size()) reached_.resize(sequence, 0);
            if (sequence > 0) ++reached_[sequence - 1];
        });
    }

    bool WaitForSubscribed(int sessions) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return subscribed_ + failed_ >= sessions; }) && failed_ == 0;
    }
    // Every session has seen `sequence` (or one failed).
    bool WaitForEverySession(int sessions, std::uint32_t sequence) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] {
            return failed_ > 0 || (reached_.size() >= sequence && reached_[sequence - 1] >= sessions);
        });
    }
    int OutOfOrder() {
        std::lock_guard<std::mutex> lock(mutex_);
        return outOfOrder_;
    }
    int Failures() {
        std::lock_guard<std::mutex> lock(mutex_);
        return failed_;
    }

private:
    template <class Edit>
    void Change(Edit edit) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            edit();
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    int subscribed_ = 0;
    int failed_ = 0;
    int outOfOrder_ = 0;
    std::vector<int> reached_;  // per sequence number, the sessions that saw it
};

// One bare session: connects, logs in, subscribes the account flow and reads frames until closed.
class CLoadSession : public std::enable_shared_from_this<CLoadSession> {
public:
    CLoadSession(boost::asio::io_context& io, CLoadLedger& ledger, const std::vector<std::uint8_t>& hello,
                 std::function<void()> onSubscribed)
        : socket_(io), ledger_(ledger), hello_(hello), onSubscribed_(std::move(onSubscribed)) {}

    void Start(const tcp::endpoint& front) {
        socket_.async_connect(front, [self = shared_from_this()](const boost::system::error_code& error) {
            if (error) return self->Fail();
            boost::asio::async_write(self->socket_, boost::asio::buffer(self->hello_),
                                     [self](const boost::system::error_code& e, std::size_t) {
                                         if (e) self->Fail();
                                     });
            self->Read();
        });
    }
    void Close() {
        boost::system::error_code ignored;
        socket_.close(ignored);
    }

private:
    void Read() {
        socket_.async_read_some(boost::asio::buffer(buffer_),
                                [self = shared_from_this()](const boost::system::error_code& error, std::size_t n) {
                                    if (error) {
                                        if (error != boost::asio::error::operation_aborted) self->Fail();
                                        return;
                                    }
                                    self->pending_.insert(self->pending_.end(), self->buffer_.begin(),
                                                          self->buffer_.begin() + n);
                                    self->Consume();
                                    self->Read();
                                });
    }
    void Consume() {
        std::size_t at = 0;
        while (pending_.size() - at >= 4) {
            const std::uint32_t length = tzo_wire::LoadU32(pending_.data() + at);
            if (pending_.size() - at - 4 < length) break;
            CAPIPackage package;
            package.OpenReceived(pending_.data() + at + 4, length);
            OnMessage(package);
            at += 4 + length;
        }
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    void OnMessage(const CAPIPackage& package) {
        if (package.ServiceNo == 4 && onSubscribed_) {
            ledger_.Subscribed();
            std::exchange(onSubscribed_, {})();
        } else if (package.ServiceNo == kAccountFlow) {
            const auto sequence = static_cast<std::uint32_t>(package.EndFlag);
            ledger_.Pushed(sequence, sequence == lastSequence_ + 1);
            lastSequence_ = sequence;
        }
    }
    void Fail() {
        if (!failed_) ledger_.Failed();
        failed_ = true;
    }

    tcp::socket socket_;
    CLoadLedger& ledger_;
    const std::vector<std::uint8_t>& hello_;
    std::function<void()> onSubscribed_;
    std::array<std::uint8_t, 4096> buffer_{};
    std::vector<std::uint8_t> pending_;
    std::uint32_t lastSequence_ = 0;
    bool failed_ = false;
};

// All sessions on one I/O thread; at most kConnectingAtOnce of them are still logging in at a time.
class CSessionCrowd {
public:
    CSessionCrowd(const tcp::endpoint& front, int sessions, CLoadLedger& ledger)
        : front_(front), sessions_(sessions), ledger_(ledger), hello_(LoginAndSubscription()) {
        boost::asio::post(io_, [this] {
            for (int i = 0; i < kConnectingAtOnce && i < sessions_; ++i) StartNext();
        });
        thread_ = std::thread([this] { io_.run(); });
    }
    ~CSessionCrowd() {
        boost::asio::post(io_, [this] {
            for (auto& session : open_) session->Close();
            work_.reset();
        });
        thread_.join();
    }

private:
    void StartNext() {
        if (started_ >= sessions_) return;
        ++started_;
        auto session = std::make_shared<CLoadSession>(io_, ledger_, hello_, [this] { StartNext(); });
        open_.push_back(session);
        session->Start(front_);
    }

    boost::asio::io_context io_;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work_{io_.get_executor()};
    tcp::endpoint front_;
    int sessions_;
    CLoadLedger& ledger_;
    const std::vector<std::uint8_t> hello_;
    int started_ = 0;
    std::vector<std::shared_ptr<CLoadSession>> open_;
    std::thread thread_;
};

TEST(ManySessions, EveryPushReachesEverySessionOfTheInvestor) {
    ASSERT_TRUE(RaiseDescriptorLimit(2 * kSessions + 256))
        << "too few file descriptors for " << kSessions << " sessions and their server sides";
    SimConfig config = DefaultSimConfig();
    config.quoteRate = 5.0;
    CFrontSimulator simulator(config);
    simulator.Open();
    simulator.RunInBackground();
    const tcp::endpoint front(boost::asio::ip::make_address("127.0.0.1"), simulator.TradePort());

    CLoadLedger ledger;
    CSessionCrowd crowd(front, kSessions, ledger);
    ASSERT_TRUE(ledger.WaitForSubscribed(kSessions)) << ledger.Failures() << " session(s) failed";

    // Resting orders from a session of their own: each is pushed as the order and the funds.
    CSimWireClient trader(simulator.TradePort());
    trader.Send(116, 1, [](CAPIPackage& p) {
        NELOLoginReqRecord login{};
        SimCopy(login.InvestorID, "demo");
        SimCopy(login.InvestorPassword, "demo123");
        TZOAddRecord(p, TZOField::LoginReq.id, kNELOLoginReqLayout, &login);
    });
    SimWireMessage reply;
    ASSERT_EQ(trader.Next(reply), CSimWireClient::Read::Message);
    for (int i = 0; i < kOrders; ++i) {
        trader.Send(122, 10 + i, [i](CAPIPackage& p) {
            NELOInputOrderRecord order{};
            SimCopy(order.InstrumentID, "m2605");
            SimCopy(order.ExchangeID, "DCE");
            SimCopy(order.OrderRef, std::to_string(i + 1));
            order.BSFlag = 'B';
            order.OCFlag = 'O';
            order.PriceType = 'L';
            order.Price = 2659.0;  // the default m2605's lower limit: it rests
            order.Qty = 1;
            TZOAddRecord(p, TZOField::InputOrder.id, kNELOInputOrderLayout, &order);
        });
    }
    // The replies come back before the pushes each order makes; once the last is in, the day's flow
    // holds everything the sessions must see.
    for (int answered = 0; answered < kOrders;) {
        ASSERT_EQ(trader.Next(reply), CSimWireClient::Read::Message);
        answered += reply.serviceNo == 123;
    }
    const auto lastSequence = simulator.Call([](CTradeService& service) {
        return static_cast<std::uint32_t>(service.AccountFlow("demo").Entries().size());
    });
    ASSERT_GE(lastSequence, static_cast<std::uint32_t>(2 * kOrders));
    // Each session must see 1, 2, ... in order; so every session that saw the last saw them all.
    ASSERT_TRUE(ledger.WaitForEverySession(kSessions, lastSequence)) << ledger.Failures() << " session(s) failed";
    EXPECT_EQ(ledger.Failures(), 0);
    EXPECT_EQ(ledger.OutOfOrder(), 0) << "a session missed a push or saw one twice";
    simulator.Stop();
}

}  // namespace
