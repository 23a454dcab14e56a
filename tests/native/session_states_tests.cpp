#include <gtest/gtest.h>

#include <string>

#include "source/session_states.h"

namespace {

struct Row {
    TW_UINT16 DAT;
    TW_UINT16 MSG;
    const char* states;  // the digits of the accepting states
};

// Every triplet with a state rule, and one MSG of each DAT that accepts any.
// State 7 is accepted wherever 6 is.
// clang-format off
const Row kRows[] = {
    {DAT_IDENTITY, MSG_GET, "34567"},
    {DAT_IDENTITY, MSG_OPENDS, "3"},
    {DAT_IDENTITY, MSG_CLOSEDS, "4567"},
    {DAT_USERINTERFACE, MSG_ENABLEDS, "4"},
    {DAT_USERINTERFACE, MSG_DISABLEDS, "567"},
    {DAT_STATUS, MSG_GET, "34567"},
    {DAT_CAPABILITY, MSG_SET, "34567"},
    {DAT_CAPABILITY, MSG_RESETALL, "4"},
    {DAT_PENDINGXFERS, MSG_GET, "4567"},
    {DAT_PENDINGXFERS, MSG_ENDXFER, "34567"},
    {DAT_PENDINGXFERS, MSG_RESET, "67"},
    {DAT_SETUPMEMXFER, MSG_GET, "4567"},
    {DAT_SETUPFILEXFER, MSG_SET, "4567"},
    {DAT_XFERGROUP, MSG_GET, "4567"},
    {DAT_PALETTE8, MSG_GET, "4567"},
    {DAT_IMAGEINFO, MSG_GET, "67"},
    {DAT_IMAGENATIVEXFER, MSG_GET, "67"},
    {DAT_IMAGEMEMXFER, MSG_GET, "34567"},
    {DAT_IMAGEFILEXFER, MSG_GET, "34567"},
    {DAT_IMAGELAYOUT, MSG_SET, "34567"},
    {DAT_GRAYRESPONSE, MSG_SET, "34567"},
    {DAT_RGBRESPONSE, MSG_SET, "34567"},
    {DAT_CIECOLOR, MSG_GET, "34567"},
    {DAT_JPEGCOMPRESSION, MSG_GET, "34567"},
};
// clang-format on

}  // namespace

TEST(SessionStates, EachTripletIsAcceptedInItsStatesOnly)
{
    for (const Row& row : kRows) {
        for (int state = 3; state <= 7; ++state) {
            bool expected = std::string(row.states).find(char('0' + state)) != std::string::npos;
            EXPECT_EQ(AcceptedInState(row.DAT, row.MSG, state), expected)
                << "DAT " << row.DAT << " MSG " << row.MSG << " state " << state;
        }
    }
}

TEST(SessionStates, NoTripletIsAcceptedOutsideTheStatesTheSourceKnows)
{
    for (int state : {0, 1, 2, 8, -1}) {
        EXPECT_FALSE(AcceptedInState(DAT_STATUS, MSG_GET, state)) << state;
    }
}
