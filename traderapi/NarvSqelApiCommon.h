// Records shared by the trading and the market-data libraries.
//
// Both libraries exchange these records with the application by pointer, so
// their byte layout is part of the binary interface: every gap is an explicit
// Reserved member (named after its offset) and each record is checked below
// for its size and field offsets. Nothing here depends on the compiler's
// padding rules, so the layout is the same for 32- and 64-bit builds.
//
// Character fields hold NUL-terminated text; an array of n bytes carries at
// most n - 1 characters.

#ifndef NARV_SQEL_API_COMMON_H
#define NARV_SQEL_API_COMMON_H

// <stddef.h> rather than <cstddef>: an application built without a C++ standard library (only the
// compiler's own headers) can still include this header.
#include <stddef.h>

static_assert(sizeof(int) == 4, "exported records use a 32-bit int");
static_assert(sizeof(double) == 8, "exported records use a 64-bit double");

/// Compile-time check of one field offset of an exported record.
#define NARV_ASSERT_OFFSET(Record, Field, Offset) \
    static_assert(offsetof(Record, Field) == (Offset), #Record "::" #Field " must sit at offset " #Offset)

/// Compile-time check of the size of an exported record.
#define NARV_ASSERT_SIZE(Record, Size) \
    static_assert(sizeof(Record) == (Size), #Record " must be " #Size " bytes")

/// Outcome of a request: ErrorID 0 is success, 99 marks a request this
/// library does not serve ("Not supported"), any other value is the back
/// end's reply code.
struct NarvRspInfoRecord
{
    int ErrorID;          ///< 0 = success; 99 = not supported; else the back end's code
    char ErrorMsg[81];    ///< text of the outcome, at most 80 characters
    char Reserved85[3];
};
NARV_ASSERT_SIZE(NarvRspInfoRecord, 88);
NARV_ASSERT_OFFSET(NarvRspInfoRecord, ErrorID, 0);
NARV_ASSERT_OFFSET(NarvRspInfoRecord, ErrorMsg, 4);

/// Login request of both libraries. Only FirmID, InvestorID and
/// InvestorPassword are read; the other fields are kept for the application.
struct NarvLoginReqRecord
{
    char TradingDay[9];          ///< not read
    char FirmID[11];             ///< firm of the investor, at most 10 characters are kept
    char InvestorID[16];         ///< investor logging in, at most 15 characters
    char InvestorPassword[21];   ///< password, at most 20 characters
    char UserProductInfo[11];    ///< not read
    char MacAddress[21];         ///< not read
    char ClientIPAddress[33];    ///< not read
};
NARV_ASSERT_SIZE(NarvLoginReqRecord, 122);
NARV_ASSERT_OFFSET(NarvLoginReqRecord, TradingDay, 0);
NARV_ASSERT_OFFSET(NarvLoginReqRecord, FirmID, 9);
NARV_ASSERT_OFFSET(NarvLoginReqRecord, InvestorID, 20);
NARV_ASSERT_OFFSET(NarvLoginReqRecord, InvestorPassword, 36);
NARV_ASSERT_OFFSET(NarvLoginReqRecord, UserProductInfo, 57);
NARV_ASSERT_OFFSET(NarvLoginReqRecord, MacAddress, 68);
NARV_ASSERT_OFFSET(NarvLoginReqRecord, ClientIPAddress, 89);

/// Login reply of both libraries.
struct NarvLoginRspRecord
{
    char TradingDay[9];         ///< trading day of the session, YYYYMMDD
    char LoginTime[9];          ///< local time the reply was received, HH:MM:SS
    char FirmID[11];            ///< firm given at login
    char InvestorID[16];        ///< investor given at login
    char SysName[41];           ///< name of the back-end system
    char Reserved86[2];
    int FrontID;                ///< front number of the session
    int SessionID;              ///< session number within the front
    char InitialOrderRef[13];   ///< first order reference to use, always "1"
    char StampTime1[9];         ///< same text as LoginTime
    char StampTime2[9];         ///< same text as LoginTime
    char StampTime3[9];         ///< same text as LoginTime
    char StampTime4[9];         ///< same text as LoginTime
    char StampTime5[9];         ///< same text as LoginTime
    char Reserved154[2];
};
NARV_ASSERT_SIZE(NarvLoginRspRecord, 156);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, TradingDay, 0);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, LoginTime, 9);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, FirmID, 18);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, InvestorID, 29);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, SysName, 45);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, FrontID, 88);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, SessionID, 92);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, InitialOrderRef, 96);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, StampTime1, 109);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, StampTime2, 118);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, StampTime3, 127);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, StampTime4, 136);
NARV_ASSERT_OFFSET(NarvLoginRspRecord, StampTime5, 145);

/// Logout request (not read) and logout reply of both libraries.
struct NarvLogoutRecord
{
    char FirmID[11];       ///< empty in replies
    char InvestorID[16];   ///< investor of the session
};
NARV_ASSERT_SIZE(NarvLogoutRecord, 27);
NARV_ASSERT_OFFSET(NarvLogoutRecord, FirmID, 0);
NARV_ASSERT_OFFSET(NarvLogoutRecord, InvestorID, 11);

#endif // NARV_SQEL_API_COMMON_H
