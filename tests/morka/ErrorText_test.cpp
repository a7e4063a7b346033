// t_strerror: every number the run-time can raise has a non-empty text.
#include <morka/System.h>

#include <cstring>
#include <gtest/gtest.h>

TEST(ErrorText, OperatingSystemNumbersUseTheSystemTexts) {
    EXPECT_STREQ(morka::t_strerror(2), std::strerror(2));
    EXPECT_STREQ(morka::t_strerror(28), std::strerror(28));
}

TEST(ErrorText, SystemLayerNumbersHaveTheirOwnTexts) {
    for (int n : {1000, 1003, 1005, 1009, 1011, 1014, 1019, 1023, 1024, 1028, 1029, 1030, 1034, 1053,
                  1057, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1087, 1088}) {
        SCOPED_TRACE(n);
        std::string s = morka::t_strerror(n);
        EXPECT_FALSE(s.empty());
        EXPECT_EQ(s.find("System error"), std::string::npos) << "no own text for " << n;
    }
    EXPECT_STREQ(morka::t_strerror(1053), "Channel number out of range");
    EXPECT_STREQ(morka::t_strerror(2500), "System error 2500");
}
