#include <gtest/gtest.h>

#include <string>

#include "source/transfer_names.h"

TEST(TransferNames, PrefixLiesInTheSourceDirectory)
{
    char prefix[kTransferNameSize];
    ASSERT_TRUE(FormatTransferPrefix(prefix, sizeof prefix, "C:\\WINDOWS"));
    EXPECT_STREQ(prefix, "C:\\WINDOWS\\TWAIN_32\\tz600a\\TWIMG600_");
}

TEST(TransferNames, NumbersHaveAtLeastFourDigits)
{
    const char prefix[] = "C:\\WINDOWS\\TWAIN_32\\tz600a\\TWIMG600_";
    char name[kTransferNameSize];
    ASSERT_TRUE(FormTransferFileName(name, sizeof name, prefix, 7));
    EXPECT_STREQ(name, "C:\\WINDOWS\\TWAIN_32\\tz600a\\TWIMG600_0007.bmp");
    ASSERT_TRUE(FormTransferFileName(name, sizeof name, prefix, 12345));
    EXPECT_STREQ(name, "C:\\WINDOWS\\TWAIN_32\\tz600a\\TWIMG600_12345.bmp");
    ASSERT_TRUE(FormTransferFileName(name, sizeof name, prefix, 1000));
    EXPECT_STREQ(name, "C:\\WINDOWS\\TWAIN_32\\tz600a\\TWIMG600_1000.bmp");
}

TEST(TransferNames, TooLongWindowsDirectoryGivesNoPrefix)
{
    // 45 characters leave a prefix of 71: room for four digits and ".bmp"
    // in 79 characters.
    const std::string longest = "C:\\" + std::string(42, 'w');
    char prefix[kTransferNameSize];
    ASSERT_TRUE(FormatTransferPrefix(prefix, sizeof prefix, longest.c_str()));
    EXPECT_EQ(std::string(prefix).size(), 71u);
    char name[kTransferNameSize];
    ASSERT_TRUE(FormTransferFileName(name, sizeof name, prefix, 9999));
    EXPECT_EQ(std::string(name).size(), 79u);
    // A fifth digit no longer fits: no name rather than a cut one.
    EXPECT_FALSE(FormTransferFileName(name, sizeof name, prefix, 12345));
    EXPECT_STREQ(name, "");

    EXPECT_FALSE(FormatTransferPrefix(prefix, sizeof prefix, (longest + "w").c_str()));
    EXPECT_STREQ(prefix, "");
    EXPECT_FALSE(FormatTransferPrefix(prefix, sizeof prefix, std::string(300, 'w').c_str()));
    EXPECT_STREQ(prefix, "");
}
