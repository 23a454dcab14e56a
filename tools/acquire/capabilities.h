// Capability negotiation from acquire's command line: get, get current, get
// default, set one value and reset, each printed as the source answered it.
#pragma once

#include <vector>

#include "twain_app.h"

struct CapabilityRequest {
    TW_UINT16 message;
    TW_UINT16 cap;
    const char* value;  // MSG_SET only
    bool allSupported;  // every capability that CAP_SUPPORTEDCAPS lists
};

// Reads one capability option at argv[i] (and its argument), moving i past
// it. Returns false when argv[i] is no capability option; error is set when
// it is one whose argument is wrong.
bool ParseCapabilityOption(int argc, char** argv, int& i, std::vector<CapabilityRequest>& requests,
                           bool& error);

// The usage lines of the capability options.
extern const char kCapabilityUsage[];

// Sends each request to the open source and prints the reply. Returns false
// when any request failed.
bool RunCapabilityRequests(TwainApp& app, const std::vector<CapabilityRequest>& requests);
