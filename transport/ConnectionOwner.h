// What a service client gives its connection: the two connection notifications and the dispatch of
// every received message. All three are called on the I/O thread.
#pragma once

#include "APIPackage.h"

class CConnectionOwner {
public:
    virtual void OnFrontConnected() = 0;                    // connection is up (I/O thread)
    virtual void OnFrontDisconnected() = 0;                 // connection ended (I/O thread); not called on Stop
    virtual int DispatchPackage(CAPIPackage& package) = 0;  // one received message; < 0 closes the connection

protected:
    ~CConnectionOwner() = default;
};
