// Opening and closing the source, and the condition code report.
#include <gtest/gtest.h>

#include "support/message_boxes.h"
#include "support/source_module.h"

namespace {

TEST(OpenClose, SecondOpenIsRefusedWithItsMessageAndTheSourceStaysOpen)
{
    SourceModule source;
    ASSERT_TRUE(source.Loaded());
    source.application.Id = 7;
    TW_IDENTITY identity = {};
    identity.Id = 8;
    ASSERT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_SUCCESS);

    MessageBoxCapture boxes;
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &identity), TWRC_FAILURE);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Zc600a Source Error");
    EXPECT_EQ(boxes.Boxes()[0].text,
              "General failure in response to MSG_OPENDS.  DG DAT MSG is out of expected sequence.");
    EXPECT_EQ(boxes.Boxes()[0].owner, nullptr);
    EXPECT_EQ(source.ConditionCode(), TWCC_SEQERROR);
    EXPECT_EQ(source.Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &identity), TWRC_SUCCESS);
}

}  // namespace
