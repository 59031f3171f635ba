#include "TradingDesk.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "SimText.h"

namespace {

constexpr char kWorking = 'I';
constexpr char kFilled = 'F';
constexpr char kCancelled = 'C';

bool IsWorking(const NELOOrderRecord& order) { return order.OrderStatus == kWorking; }

std::string Decimal(std::uint64_t n) { return std::to_string(n); }

// The exchange-side order number: fixed width like the exchanges hand them out.
std::string SystemOrderNumber(std::uint64_t n) {
    char text[16];
    std::snprintf(text, sizeof text, "%012llu", static_cast<unsigned long long>(n));
    return text;
}

}  // namespace

CTradingDesk::CTradingDesk(const SimConfig& config, CMarketSimulator& market, ITradeEventSink& sink, Clock clock)
    : config_(config), market_(market), sink_(sink), clock_(std::move(clock)) {
    for (const auto& account : config.accounts) {
        accountIndex_.emplace(account.investorId, accounts_.size());  // the first of a repeated id wins
        AccountState state;
        state.account = account;
        accounts_.push_back(std::move(state));
    }
}

CTradingDesk::AccountState* CTradingDesk::FindAccount(const std::string& investorId) {
    const auto found = accountIndex_.find(investorId);
    return found == accountIndex_.end() ? nullptr : &accounts_[found->second];
}

const CTradingDesk::AccountState* CTradingDesk::FindAccount(const std::string& investorId) const {
    return const_cast<CTradingDesk*>(this)->FindAccount(investorId);
}

SimReply CTradingDesk::CheckLogin(const std::string& investorId, const std::string& password) const {
    const AccountState* account = FindAccount(investorId);
    if (!account) return SimReply::UnknownInvestor;
    return account->account.password == password ? SimReply::Ok : SimReply::WrongPassword;
}

SimReply CTradingDesk::ChangePassword(const std::string& investorId, const std::string& oldPassword,
                                      const std::string& newPassword) {
    AccountState* account = FindAccount(investorId);
    if (!account) return SimReply::UnknownInvestor;
    if (account->account.password != oldPassword) return SimReply::WrongOldPassword;
    if (newPassword.empty()) return SimReply::BadNewPassword;
    account->account.password = newPassword;
    return SimReply::Ok;
}

const std::string& CTradingDesk::InvestorName(const std::string& investorId) const {
    static const std::string none;
    const AccountState* account = FindAccount(investorId);
    return account ? account->account.name : none;
}

double CTradingDesk::LastPrice(std::size_t instrument) const { return market_.Snapshot(instrument).lastPrice; }

bool CTradingDesk::Matches(std::size_t instrument, const SimQueryFilter& filter) const {
    const SimInstrument& contract = market_.Instrument(instrument);
    return (filter.instrumentId.empty() || filter.instrumentId == contract.instrumentId) &&
           (filter.exchangeId.empty() || filter.exchangeId == contract.exchangeId);
}

CTradingDesk::PositionState& CTradingDesk::PositionOf(AccountState& account, std::size_t instrument, bool isLong) {
    for (auto& position : account.positions)
        if (position.instrument == instrument && position.isLong == isLong) return position;
    PositionState position;
    position.instrument = instrument;
    position.isLong = isLong;
    account.positions.push_back(position);
    return account.positions.back();
}

const CTradingDesk::PositionState* CTradingDesk::FindPosition(const AccountState& account, std::size_t instrument,
                                                              bool isLong) const {
    for (const auto& position : account.positions)
        if (position.instrument == instrument && position.isLong == isLong) return &position;
    return nullptr;
}

void CTradingDesk::Reindex(AccountState& account, std::size_t order) {
    if (IsWorking(account.orders[order].record))
        account.working.insert(order);
    else
        account.working.erase(order);
}

std::int32_t CTradingDesk::ClosableQty(const AccountState& account, std::size_t instrument, bool isLong) const {
    std::int32_t held = 0;
    if (const PositionState* position = FindPosition(account, instrument, isLong))
        for (std::size_t lot : position->openLots) held += account.lots[lot].record.QtyLeft;
    // Working closes already claim part of the position.
    for (std::size_t i : account.working) {
        const OrderState& order = account.orders[i];
        if (!order.opens && order.instrument == instrument && order.buys != isLong) held -= order.record.QtyLeft;
    }
    return held;
}

double CTradingDesk::FrozenMargin(const OrderState& order) const {
    if (!order.opens || !IsWorking(order.record)) return 0.0;
    const SimInstrument& contract = market_.Instrument(order.instrument);
    return order.record.Price * contract.multiplier * contract.marginRate * order.record.QtyLeft;
}

double CTradingDesk::FrozenFee(const OrderState& order) const {
    if (!IsWorking(order.record)) return 0.0;
    const SimInstrument& contract = market_.Instrument(order.instrument);
    return order.record.Price * contract.multiplier * contract.feeRate * order.record.QtyLeft;
}

SimReply CTradingDesk::Validate(const AccountState& account, const std::string& investorId,
                                const NELOInputOrderRecord& request, int instrument) const {
    if (instrument < 0) return SimReply::UnknownInstrument;
    const auto index = static_cast<std::size_t>(instrument);
    const SimInstrument& contract = market_.Instrument(index);
    const std::string requestInvestor = SimText(request.InvestorID);
    if (!requestInvestor.empty() && requestInvestor != investorId) return SimReply::InvestorMismatch;
    const std::string exchange = SimText(request.ExchangeID);
    if (!exchange.empty() && exchange != contract.exchangeId) return SimReply::WrongExchange;
    const bool flagsKnown = (request.BSFlag == 'B' || request.BSFlag == 'S') &&
                            (request.OCFlag == 'O' || request.OCFlag == 'C' || request.OCFlag == 'T') &&
                            (request.PriceType == 'M' || request.PriceType == 'L');
    if (!flagsKnown) return SimReply::BadOrderFlags;
    if (request.Qty <= 0 || request.Qty > config_.maxOrderQty) return SimReply::BadQuantity;

    const SimDepthSnapshot& book = market_.Snapshot(index);
    const bool market = request.PriceType == 'M';
    if (!market) {
        const double price = request.Price;
        if (!std::isfinite(price) || price < book.lowLimit - 1e-9 || price > book.highLimit + 1e-9 ||
            !market_.OnTickGrid(index, price))
            return SimReply::BadPrice;
    }
    const bool buys = request.BSFlag == 'B';
    if (request.OCFlag == 'O') {
        // A market order may trade anywhere up to the daily limit: reserve for the worst case.
        const double price = market ? book.highLimit : request.Price;
        const double needed = price * contract.multiplier * request.Qty * (contract.marginRate + contract.feeRate);
        if (needed > BuildFund(account).FreeBalance + 1e-6) return SimReply::InsufficientFunds;
    } else if (ClosableQty(account, index, !buys) < request.Qty) {
        return SimReply::InsufficientPosition;
    }
    return SimReply::Ok;
}

SimReply CTradingDesk::EnterOrder(const std::string& investorId, std::int64_t sessionId,
                                  const NELOInputOrderRecord& request, NELOOrderRecord* accepted) {
    AccountState* account = FindAccount(investorId);
    if (!account) return SimReply::NotLoggedIn;
    const std::string reference = SimText(request.OrderRef);
    if (!reference.empty()) {
        const auto same = account->byReference.find({sessionId, reference});
        if (same != account->byReference.end() && IsWorking(account->orders[same->second].record))
            return SimReply::DuplicateOrderRef;
    }
    const int instrument = market_.Find(SimText(request.InstrumentID));
    const SimReply verdict = Validate(*account, investorId, request, instrument);
    if (verdict != SimReply::Ok) return verdict;

    const auto index = static_cast<std::size_t>(instrument);
    const SimInstrument& contract = market_.Instrument(index);
    const std::string now = clock_();
    OrderState order{};
    NELOOrderRecord& r = order.record;
    SimCopy(r.InvestorID, investorId);
    SimCopy(r.TradeDate, config_.tradingDay);
    const std::uint64_t number = nextOrderId_++;
    SimCopy(r.OrderID, Decimal(number));
    SimCopy(r.OrderSysID, SystemOrderNumber(number));
    SimCopy(r.OrderDate, config_.tradingDay);
    SimCopy(r.OrderTime, now);
    SimCopy(r.InstrumentID, contract.instrumentId);
    r.BSFlag = request.BSFlag;
    r.OCFlag = request.OCFlag;
    r.PriceType = request.PriceType;
    r.Price = request.PriceType == 'M' ? 0.0 : request.Price;
    r.Qty = request.Qty;
    r.QtyLeft = request.Qty;
    SimCopy(r.ModifyDate, config_.tradingDay);
    SimCopy(r.ModifyTime, now);
    r.OrderStatus = kWorking;
    r.ConditionType = request.ConditionType;
    r.ConditionMethod = request.ConditionMethod;
    r.ConditionPrice = request.ConditionPrice;
    SimCopy(r.ExchangeID, contract.exchangeId);
    r.SessionID = sessionId;
    SimCopy(r.OrderRef, reference);
    SimCopy(r.AccountID, investorId);
    r.RequestID = request.RequestID;
    SimCopy(r.ClientID, SimText(request.ClientID));
    SimCopy(r.IPAddress, SimText(request.IPAddress));
    SimCopy(r.MacAddress, SimText(request.MacAddress));
    SimCopy(r.InvestorUnit, SimText(request.InvestorUnit));
    r.TimeCondition = request.TimeCondition;
    r.VolumeCondition = request.VolumeCondition;
    r.OrderSubmitStatus = '3';  // accepted
    order.instrument = index;
    order.opens = request.OCFlag == 'O';
    order.buys = request.BSFlag == 'B';
    order.market = request.PriceType == 'M';
    r.FrozenMargin = FrozenMargin(order);
    if (accepted) *accepted = r;

    const std::size_t position = account->orders.size();
    account->orders.push_back(order);
    account->bySystemNumber[SimText(r.OrderSysID)] = position;
    account->byOrderNumber[SimText(r.OrderID)] = position;
    if (!reference.empty()) account->byReference[{sessionId, reference}] = position;
    sink_.OnOrderChanged(investorId, r);
    OrderState& entered = account->orders.back();
    const bool traded = Execute(*account, entered);
    // What a market order could not trade at once is not left working.
    if (entered.market && IsWorking(entered.record)) entered.record.OrderStatus = kCancelled;
    Reindex(*account, position);
    // The acceptance above already told the application about an order that then neither traded nor
    // ended; pushing the same record again would read as a second event.
    const bool changed = traded || entered.market;
    PublishAfterChange(*account, entered, changed, changed);
    return SimReply::Ok;
}

SimReply CTradingDesk::CancelOrder(const std::string& investorId, const NELOOrderCancelRecord& request) {
    AccountState* account = FindAccount(investorId);
    if (!account) return SimReply::NotLoggedIn;
    const std::string requestInvestor = SimText(request.InvestorID);
    if (!requestInvestor.empty() && requestInvestor != investorId) return SimReply::InvestorMismatch;
    const std::optional<std::size_t> found = FindOrder(*account, request);
    if (!found) return SimReply::OrderNotFound;
    OrderState& order = account->orders[*found];
    if (!IsWorking(order.record)) return SimReply::OrderFinished;
    order.record.OrderStatus = kCancelled;
    order.record.FrozenMargin = 0.0;
    SimCopy(order.record.ModifyTime, clock_());
    Reindex(*account, *found);
    PublishAfterChange(*account, order, false);
    return SimReply::Ok;
}

std::optional<std::size_t> CTradingDesk::FindOrder(const AccountState& account, const NELOOrderCancelRecord& request) {
    const std::string sysId = SimText(request.OrderSysID);
    const std::string orderId = SimText(request.OrderID);
    const std::string orderRef = SimText(request.OrderRef);
    auto at = [](const auto& index, const auto& key) -> std::optional<std::size_t> {
        const auto found = index.find(key);
        if (found == index.end()) return std::nullopt;
        return found->second;
    };
    if (!sysId.empty()) return at(account.bySystemNumber, sysId);
    if (!orderId.empty()) return at(account.byOrderNumber, orderId);
    if (!orderRef.empty()) return at(account.byReference, std::make_pair(request.SessionID, orderRef));
    return std::nullopt;
}

void CTradingDesk::MatchWorkingOrders() {
    for (auto& account : accounts_) {
        // A copy: trading ends orders, which leave the index while it is walked.
        const std::vector<std::size_t> working(account.working.begin(), account.working.end());
        for (std::size_t i : working) {
            OrderState& order = account.orders[i];
            if (order.market) continue;
            const bool traded = Execute(account, order);
            Reindex(account, i);
            if (traded) PublishAfterChange(account, order, true);
        }
    }
}

bool CTradingDesk::Execute(AccountState& account, OrderState& order) {
    bool traded = false;
    const SimDepthSnapshot& book = market_.Snapshot(order.instrument);
    for (int level = 0; level < kSimDepthLevels && order.record.QtyLeft > 0; ++level) {
        const double price = order.buys ? book.asks[level].price : book.bids[level].price;
        if (!order.market && (order.buys ? price > order.record.Price + 1e-9 : price < order.record.Price - 1e-9))
            break;
        const std::int32_t taken = market_.Take(order.instrument, order.buys, level, order.record.QtyLeft);
        if (taken == 0) continue;
        Fill(account, order, price, taken);
        traded = true;
    }
    return traded;
}

void CTradingDesk::Fill(AccountState& account, OrderState& order, double price, std::int32_t qty) {
    const SimInstrument& contract = market_.Instrument(order.instrument);
    const std::string now = clock_();
    NELOOrderRecord& r = order.record;
    const std::int32_t tradedBefore = r.Qty - r.QtyLeft;
    r.AvgPrice = (r.AvgPrice * tradedBefore + price * qty) / (tradedBefore + qty);
    r.QtyLeft -= qty;
    if (r.QtyLeft == 0) r.OrderStatus = kFilled;
    SimCopy(r.ModifyTime, now);
    const double value = price * contract.multiplier * qty;
    const double fee = value * contract.feeRate;
    account.fee += fee;

    NELOTradeRecord t{};
    SimCopy(t.InvestorID, account.account.investorId);
    SimCopy(t.TradeDate, config_.tradingDay);
    SimCopy(t.MatchID, Decimal(nextMatchId_++));
    SimCopy(t.OrderID, SimText(r.OrderID));
    SimCopy(t.InstrumentID, contract.instrumentId);
    t.BSFlag = r.BSFlag;
    t.OCFlag = r.OCFlag;
    t.Price = price;
    t.Qty = qty;
    SimCopy(t.MatchDate, config_.tradingDay);
    SimCopy(t.MatchTime, now);
    t.FeeRate = contract.feeRate;
    t.Margin = order.opens ? value * contract.marginRate : 0.0;
    SimCopy(t.ExchangeID, contract.exchangeId);
    SimCopy(t.AccountID, account.account.investorId);
    SimCopy(t.OrderSysID, SimText(r.OrderSysID));
    SimCopy(t.OrderRef, SimText(r.OrderRef));
    SimCopy(t.ClientID, SimText(r.ClientID));
    SimCopy(t.InvestorUnit, SimText(r.InvestorUnit));
    account.trades.push_back(t);
    market_.RecordTrade(order.instrument, price, qty);

    const bool positionLong = order.opens ? order.buys : !order.buys;
    PositionState& position = PositionOf(account, order.instrument, positionLong);
    position.fee += fee;
    if (order.opens) {
        position.openVolume += qty;
        position.openAmount += value;
        LotState lot{};
        NELOPosiDetailRecord& d = lot.record;
        SimCopy(d.TradeDate, config_.tradingDay);
        SimCopy(d.MatchID, SimText(t.MatchID));
        SimCopy(d.OrderID, SimText(r.OrderID));
        SimCopy(d.InvestorID, account.account.investorId);
        SimCopy(d.InstrumentID, contract.instrumentId);
        d.BSFlag = r.BSFlag;
        d.Price = price;
        d.Qty = qty;
        d.QtyLeft = qty;
        SimCopy(d.InvestorName, account.account.name);
        d.Fee = fee;
        d.Margin = value * contract.marginRate;
        SimCopy(d.CreateDate, config_.tradingDay);
        SimCopy(d.CreateTime, now);
        SimCopy(d.ExchangeID, contract.exchangeId);
        d.CreatePrice = price;
        SimCopy(d.CreateTradeDate, config_.tradingDay);
        d.MarginRateType = 'R';
        d.MarginRate = contract.marginRate;
        d.PreSettle = market_.Snapshot(order.instrument).preSettle;
        SimCopy(d.InvestorUnit, SimText(r.InvestorUnit));
        lot.instrument = order.instrument;
        account.lots.push_back(lot);
        position.openLots.insert(account.lots.size() - 1);
        touchedLots_.push_back(account.lots.size() - 1);
    } else {
        position.closeVolume += qty;
        position.closeAmount += value;
        std::int32_t toClose = qty;
        for (auto open = position.openLots.begin(); open != position.openLots.end() && toClose > 0;) {
            const std::size_t index = *open;
            NELOPosiDetailRecord& d = account.lots[index].record;
            const std::int32_t closing = std::min(toClose, d.QtyLeft);
            const double pl = (price - d.Price) * contract.multiplier * closing * (positionLong ? 1 : -1);
            d.QtyLeft -= closing;
            d.ClosedPL += pl;
            d.CloseVolume += closing;
            d.CloseAmount += price * contract.multiplier * closing;
            d.ClosePrice = price;
            SimCopy(d.CloseDate, config_.tradingDay);
            SimCopy(d.CloseTime, now);
            d.Margin = d.Price * contract.multiplier * contract.marginRate * d.QtyLeft;
            position.closedPL += pl;
            account.closedPL += pl;
            touchedLots_.push_back(index);
            toClose -= closing;
            open = d.QtyLeft == 0 ? position.openLots.erase(open) : std::next(open);
        }
    }
    sink_.OnTrade(account.account.investorId, t);
}

void CTradingDesk::PublishAfterChange(AccountState& account, OrderState& order, bool traded, bool orderChanged) {
    const std::string& investor = account.account.investorId;
    const SimInstrument& contract = market_.Instrument(order.instrument);
    order.record.FrozenMargin = FrozenMargin(order);
    order.record.Margin = order.opens ? order.record.AvgPrice * contract.multiplier * contract.marginRate *
                                            (order.record.Qty - order.record.QtyLeft)
                                      : 0.0;
    if (orderChanged) sink_.OnOrderChanged(investor, order.record);
    // A close order freezes position even before it trades, so its position changes with every event.
    if (traded || !order.opens) {
        const bool positionLong = order.opens ? order.buys : !order.buys;
        const PositionState& position = PositionOf(account, order.instrument, positionLong);
        sink_.OnPositionChanged(investor, BuildPosition(account, position));
    }
    std::sort(touchedLots_.begin(), touchedLots_.end());
    touchedLots_.erase(std::unique(touchedLots_.begin(), touchedLots_.end()), touchedLots_.end());
    for (std::size_t lot : touchedLots_) sink_.OnPositionDetailChanged(investor, account.lots[lot].record);
    touchedLots_.clear();
    sink_.OnFundChanged(investor, BuildFund(account));
}

NELOPosiRecord CTradingDesk::BuildPosition(const AccountState& account, const PositionState& position) const {
    const SimInstrument& contract = market_.Instrument(position.instrument);
    const SimDepthSnapshot& book = market_.Snapshot(position.instrument);
    NELOPosiRecord p{};
    SimCopy(p.TradeDate, config_.tradingDay);
    SimCopy(p.InvestorID, account.account.investorId);
    SimCopy(p.ExchangeID, contract.exchangeId);
    SimCopy(p.InstrumentID, contract.instrumentId);
    p.BSFlag = position.isLong ? 'B' : 'S';
    double cost = 0.0;
    for (std::size_t open : position.openLots) {
        const NELOPosiDetailRecord& lot = account.lots[open].record;
        p.Qty += lot.QtyLeft;
        cost += lot.Price * contract.multiplier * lot.QtyLeft;
    }
    p.Price = p.Qty ? cost / (static_cast<double>(p.Qty) * contract.multiplier) : 0.0;
    p.TodayQty = p.Qty;
    for (std::size_t i : account.working) {
        const OrderState& order = account.orders[i];
        if (!order.opens && order.instrument == position.instrument && order.buys != position.isLong)
            p.QtyFrozen += order.record.QtyLeft;
    }
    p.TodayQtyFrozen = p.QtyFrozen;
    p.ClosedPL = position.closedPL;
    p.FloatingPL = (LastPrice(position.instrument) * contract.multiplier * p.Qty - cost) * (position.isLong ? 1 : -1);
    p.Margin = cost * contract.marginRate;
    p.Fee = position.fee;
    p.Cost = cost;
    p.OpenCost = cost;
    p.PositionDate = '1';  // today's position
    p.OpenVolume = position.openVolume;
    p.CloseVolume = position.closeVolume;
    p.OpenAmount = position.openAmount;
    p.CloseAmount = position.closeAmount;
    p.PreSettle = book.preSettle;
    p.CloseProfitByDate = position.closedPL;
    p.CloseProfitByTrade = position.closedPL;
    p.MarginRateType = 'R';
    p.MarginRate = contract.marginRate;
    return p;
}

NELOFundRecord CTradingDesk::BuildFund(const AccountState& account) const {
    NELOFundRecord f{};
    SimCopy(f.TradeDate, config_.tradingDay);
    SimCopy(f.InvestorID, account.account.investorId);
    f.LastBalance = account.account.funds;
    for (const auto& position : account.positions) {
        const NELOPosiRecord p = BuildPosition(account, position);
        f.Margin += p.Margin;
        f.FloatingPL += p.FloatingPL;
    }
    // Only working orders freeze anything.
    for (std::size_t i : account.working) {
        f.FrozenMargin += FrozenMargin(account.orders[i]);
        f.FeeFrozen += FrozenFee(account.orders[i]);
    }
    f.Fee = account.fee;
    f.ClosedPL = account.closedPL;
    f.ProfitLoss = account.closedPL + f.FloatingPL;
    f.TotalPL = f.ProfitLoss - f.Fee;
    f.FloatBalance = f.LastBalance + f.ClosedPL + f.FloatingPL - f.Fee;
    f.FrozenBalance = f.FrozenMargin + f.FeeFrozen;
    f.FreeBalance = f.FloatBalance - f.Margin - f.FrozenBalance;
    SimCopy(f.InvestorName, account.account.name);
    return f;
}

std::vector<NELOOrderRecord> CTradingDesk::Orders(const std::string& investorId, const SimQueryFilter& filter) const {
    std::vector<NELOOrderRecord> rows;
    if (const AccountState* account = FindAccount(investorId))
        for (const auto& order : account->orders)
            if (Matches(order.instrument, filter)) rows.push_back(order.record);
    return rows;
}

std::vector<NELOTradeRecord> CTradingDesk::Trades(const std::string& investorId, const SimQueryFilter& filter) const {
    std::vector<NELOTradeRecord> rows;
    if (const AccountState* account = FindAccount(investorId))
        for (const auto& trade : account->trades)
            if (Matches(static_cast<std::size_t>(market_.Find(SimText(trade.InstrumentID))), filter))
                rows.push_back(trade);
    return rows;
}

std::vector<NELOPosiRecord> CTradingDesk::Positions(const std::string& investorId, const SimQueryFilter& filter) const {
    std::vector<NELOPosiRecord> rows;
    if (const AccountState* account = FindAccount(investorId))
        for (const auto& position : account->positions)
            if (Matches(position.instrument, filter)) rows.push_back(BuildPosition(*account, position));
    return rows;
}

std::vector<NELOPosiDetailRecord> CTradingDesk::PositionDetails(const std::string& investorId,
                                                                const SimQueryFilter& filter) const {
    std::vector<NELOPosiDetailRecord> rows;
    if (const AccountState* account = FindAccount(investorId)) {
        for (const auto& lot : account->lots) {
            if (!Matches(lot.instrument, filter)) continue;
            NELOPosiDetailRecord d = lot.record;
            const SimInstrument& contract = market_.Instrument(lot.instrument);
            d.FloatingPL =
                (LastPrice(lot.instrument) - d.Price) * contract.multiplier * d.QtyLeft * (d.BSFlag == 'B' ? 1 : -1);
            d.PositionProfitByDate = d.FloatingPL;
            d.PositionProfitByTrade = d.FloatingPL;
            rows.push_back(d);
        }
    }
    return rows;
}

NELOFundRecord CTradingDesk::Fund(const std::string& investorId) const {
    const AccountState* account = FindAccount(investorId);
    return account ? BuildFund(*account) : NELOFundRecord{};
}
