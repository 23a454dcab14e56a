#include "session_table.h"

#include <gtest/gtest.h>

#include "message_boxes.h"

namespace {

const unsigned kAny = 1u << 3 | 1u << 4 | 1u << 5 | 1u << 6;
const unsigned kNone = 0;

union TripletData {
    TW_IDENTITY identity;
    TW_USERINTERFACE ui;
    TW_STATUS status;
};

}  // namespace

const std::vector<SessionTriplet> kSessionTriplets = {
    {"DAT_IDENTITY/MSG_GET", DAT_IDENTITY, MSG_GET, kAny, 0, ""},
    {"DAT_IDENTITY/MSG_OPENDS", DAT_IDENTITY, MSG_OPENDS, 1u << 3, TWCC_SEQERROR,
     "General failure in response to MSG_OPENDS.  DG DAT MSG is out of expected sequence."},
    {"DAT_IDENTITY/MSG_CLOSEDS", DAT_IDENTITY, MSG_CLOSEDS, 1u << 4 | 1u << 5 | 1u << 6,
     TWCC_SEQERROR,
     "General failure in response to MSG_CLOSEDS.  DG DAT MSG is out of expected sequence."},
    {"DAT_IDENTITY/MSG_USERSELECT", DAT_IDENTITY, MSG_USERSELECT, kNone, TWCC_BADPROTOCOL,
     "General failure in response to DAT_IDENTITY.  Bad protocol error."},
    {"DAT_USERINTERFACE/MSG_ENABLEDS", DAT_USERINTERFACE, MSG_ENABLEDS, 1u << 4, TWCC_SEQERROR,
     "General failure in response to MSG_ENABLEDS.  DG DAT MSG is out of expected sequence."},
    {"DAT_USERINTERFACE/MSG_DISABLEDS", DAT_USERINTERFACE, MSG_DISABLEDS, 1u << 5 | 1u << 6,
     TWCC_SEQERROR,
     "General failure in response to MSG_DISABLEDS.  DG DAT MSG is out of expected sequence."},
    {"DAT_USERINTERFACE/MSG_ENABLEDSUIONLY", DAT_USERINTERFACE, MSG_ENABLEDSUIONLY, kNone,
     TWCC_BADPROTOCOL, "General failure in response to DAT_USERINTERFACE.  Bad protocol error."},
    {"DAT_STATUS/MSG_GET", DAT_STATUS, MSG_GET, kAny, 0, ""},
    {"DAT_STATUS/MSG_SET", DAT_STATUS, MSG_SET, kNone, TWCC_BADPROTOCOL,
     "General failure in response to DAT_STATUS.  Bad protocol error."},
};

void ExpectTripletInState(SessionUnderTest& source, const SessionTriplet& triplet, int state,
                          HWND parent)
{
    SCOPED_TRACE(std::string(triplet.name) + " in state " + std::to_string(state));
    TripletData data = {};
    if (triplet.DAT == DAT_USERINTERFACE) {
        data.ui.ShowUI = TRUE;
        data.ui.hParent = parent;
    }
    MessageBoxCapture boxes;
    TW_UINT16 rc = source.Call(triplet.DAT, triplet.MSG, &data);
    if (triplet.acceptedStates & (1u << state)) {
        EXPECT_EQ(rc, TWRC_SUCCESS);
        EXPECT_TRUE(boxes.Boxes().empty());
        return;
    }
    EXPECT_EQ(rc, TWRC_FAILURE);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Zc600a Source Error");
    EXPECT_EQ(boxes.Boxes()[0].text, triplet.refusalMessage);
    EXPECT_EQ(source.ConditionCode(), triplet.refusalCode);
}
