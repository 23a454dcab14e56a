#include <gtest/gtest.h>

#include "source/condition_text.h"

TEST(ConditionText, KnownCodesHaveTheirOwnText)
{
    EXPECT_STREQ(ConditionText(TWCC_SUCCESS), "Success message from detailed error request ??");
    EXPECT_STREQ(ConditionText(TWCC_BADCAP), "Bad capabilities error.");
    EXPECT_STREQ(ConditionText(TWCC_SEQERROR), "DG DAT MSG is out of expected sequence.");
    // The codes of TWAIN 2 sessions' capability refusals.
    EXPECT_STREQ(ConditionText(TWCC_CAPUNSUPPORTED), "Capability not supported by the source.");
    EXPECT_STREQ(ConditionText(TWCC_CAPBADOPERATION), "Operation not supported by the capability.");
    EXPECT_STREQ(ConditionText(TWCC_CAPSEQERROR),
                 "Capability operation is out of expected sequence.");
}

TEST(ConditionText, CodesWithoutTextAreUnknown)
{
    for (TW_UINT16 code : {7, 8, 12, 16, 100, 0xFFFF}) {
        EXPECT_STREQ(ConditionText(code), "Unknown Error value in condition code.") << code;
    }
}
