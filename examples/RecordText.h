// One-line descriptions of the libraries' records, as the demo prints them.
#pragma once

#include <string>

#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"

// Words for the one-character codes of the exported records; "code 'x'" for a code not in the tables.
std::string SideText(char bsFlag);              // '0' buy, '1' sell
std::string OffsetText(char ocFlag);            // '0' open, '1' close, '3' close today
std::string OrderStatusText(char orderStatus);  // '0' filled ... 'a' accepted
std::string PositionSideText(char bsFlag);      // '2' long, '3' short

// A price as the market shows it: as many decimals as it needs, at most six.
std::string PriceText(double price);

std::string DescribeQuote(const NarvDepthQuoteRecord& quote);
std::string DescribeInstrument(const NarvInstrumentRecord& instrument);
std::string DescribeOrder(const NarvOrderRecord& order);
std::string DescribeTrade(const NarvTradeRecord& trade);
std::string DescribePosition(const NarvPosiRecord& position);
std::string DescribeFund(const NarvFundRecord& fund);
// "error 3: <text>", the text turned into UTF-8.
std::string DescribeRspInfo(const NarvRspInfoRecord& info);
