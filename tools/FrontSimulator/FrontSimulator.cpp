#include "FrontSimulator.h"

#include <chrono>
#include <ctime>

std::string SimClockTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[9];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

CFrontSimulator::CFrontSimulator(SimConfig config)
    : config_(std::move(config)),
      market_(config_.instruments, config_.tradingDay, config_.seed, config_.priceLimitRate),
      trade_(std::make_unique<CTradeService>(config_, market_, SimClockTime)),
      quote_(std::make_unique<CQuoteService>(config_, market_, trade_->Desk())),
      tradeAcceptor_(io_),
      quoteAcceptor_(io_),
      marketClock_(io_) {}

CFrontSimulator::~CFrontSimulator() {
    Stop();
    if (thread_.joinable()) thread_.join();
}

void CFrontSimulator::Open() {
    const auto address = boost::asio::ip::make_address(config_.listenHost);
    // The error names the service and the port, so that a user knows which option to change.
    auto open = [&](Acceptor& acceptor, std::uint16_t port, const char* service) {
        const boost::asio::ip::tcp::endpoint endpoint(address, port);
        try {
            acceptor.open(endpoint.protocol());
            acceptor.set_option(Acceptor::reuse_address(true));
            acceptor.bind(endpoint);
            acceptor.listen();
        } catch (const boost::system::system_error& e) {
            throw boost::system::system_error(
                e.code(), std::string(service) + " service on " + config_.listenHost + ":" + std::to_string(port));
        }
        return acceptor.local_endpoint().port();
    };
    tradePort_ = open(tradeAcceptor_, config_.tradePort, "trade");
    quotePort_ = open(quoteAcceptor_, config_.quotePort, "quote");
    Accept(tradeAcceptor_, true);
    Accept(quoteAcceptor_, false);
    ArmMarketClock();
}

void CFrontSimulator::Run() { io_.run(); }

void CFrontSimulator::RunInBackground() {
    thread_ = std::thread([this] { io_.run(); });
}

void CFrontSimulator::Stop() {
    boost::asio::post(io_, [this] {
        boost::system::error_code ignored;
        tradeAcceptor_.close(ignored);
        quoteAcceptor_.close(ignored);
        marketClock_.cancel();
        trade_->CloseAll();
        quote_->CloseAll();
        io_.stop();
    });
}

void CFrontSimulator::SetFaults(const SimFaults& faults) {
    Call([&](CTradeService&) {
        config_.faults = faults;
        tradeConnections_ = quoteConnections_ = 0;
        return 0;
    });
}

void CFrontSimulator::DropConnections(bool trade, bool quote) {
    Call([&](CTradeService& service) {
        if (trade) service.CloseAll();
        if (quote) quote_->CloseAll();
        return 0;
    });
}

SimSessionSettings CFrontSimulator::SettingsFor(bool trade) {
    SimSessionSettings settings;
    settings.heartbeatSeconds = config_.heartbeatSeconds;
    settings.idleTimeoutSeconds = config_.idleTimeoutSeconds;
    const SimFaults& faults = config_.faults;
    const std::uint32_t ordinal = trade ? ++tradeConnections_ : ++quoteConnections_;
    const bool applies =
        (trade ? faults.trade : faults.quote) && (faults.connections == 0 || ordinal <= faults.connections);
    if (applies) settings.faults = faults;
    return settings;
}

void CFrontSimulator::Accept(Acceptor& acceptor, bool trade) {
    acceptor.async_accept(
        [this, &acceptor, trade](const boost::system::error_code& error, boost::asio::ip::tcp::socket socket) {
            if (error == boost::asio::error::operation_aborted || !acceptor.is_open()) return;
            if (error) {
                // Out of descriptors or memory: accepting again at once would fail again at once, in a
                // loop that takes the thread from the sessions already served. A pause lets some close.
                auto pause = std::make_shared<boost::asio::steady_timer>(io_, std::chrono::milliseconds(100));
                pause->async_wait([this, &acceptor, trade, pause](const boost::system::error_code& waited) {
                    if (!waited && acceptor.is_open()) Accept(acceptor, trade);
                });
                return;
            }
            CFrameSession::Handler& handler = trade ? static_cast<CFrameSession::Handler&>(*trade_) : *quote_;
            auto session =
                std::make_shared<CFrameSession>(std::move(socket), handler, SettingsFor(trade), nextConnectionId_++);
            if (trade)
                trade_->Adopt(session);
            else
                quote_->Adopt(session);
            session->Start();
            Accept(acceptor, trade);
        });
}

void CFrontSimulator::ArmMarketClock() {
    const auto period = std::chrono::duration<double>(1.0 / config_.quoteRate);
    marketClock_.expires_after(std::chrono::duration_cast<std::chrono::steady_clock::duration>(period));
    marketClock_.async_wait([this](const boost::system::error_code& error) {
        if (error) return;
        market_.Step(SimClockTime().c_str());
        trade_->OnMarketStep();
        quote_->OnMarketStep();
        ArmMarketClock();
    });
}
