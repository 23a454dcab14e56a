// DG_CONTROL / DAT_CAPABILITY in a TWAIN 2 session: the answers of the
// capability file as HandleCapability gives them, and besides them the
// query of a capability's operations (MSG_QUERYSUPPORT), the reset of every
// capability (MSG_RESETALL) and the condition codes of TWAIN 2, with no
// message box for a refusal.
#pragma once

#include "source/dispatch.h"

TW_UINT16 HandleTwain2Capability(const TripletArgs& args);
