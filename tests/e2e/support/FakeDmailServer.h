#pragma once
// A stand-in for the messaging program: service "DMAIL", topic "SMS", pokes to item "SEND".
#include "support/FakeDdeServer.h"

namespace telvor::e2e {

class FakeDmailServer : public FakeDdeServer {
  public:
    FakeDmailServer() : FakeDdeServer("DMAIL", "SMS", "SEND") {}
};

}  // namespace telvor::e2e
