// Texts and numbers in the forms circuit files hold them.

#include "file/FileText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace flow {
namespace {

TEST(FileTextTest, EscapesRoundTripAndUnknownSequencesStay) {
    const QString all = QStringLiteral("\a\b\t\n\v\f\r\"\\ plain \u00E9");
    EXPECT_EQ(EscapeText(all), QStringLiteral("\\a\\b\\t\\n\\v\\f\\r\\\"\\\\ plain \u00E9"));
    EXPECT_EQ(UnescapeText(EscapeText(all)), all);
    EXPECT_EQ(UnescapeText(QStringLiteral("\\q\\")), QStringLiteral("\\q\\"));
    EXPECT_EQ(UnescapeText(QStringLiteral("\\\\n")), QStringLiteral("\\n"));

    EXPECT_EQ(FormatFixed(1.0), QStringLiteral("1"));
    EXPECT_EQ(FormatFixed(0.5), QStringLiteral("0.5"));
    EXPECT_EQ(FormatFixed(2.25e-11), QStringLiteral("0"));
    EXPECT_EQ(FormatFixed(-0.0), QStringLiteral("0"));
    EXPECT_EQ(FormatFixed(1234.5678901234), QStringLiteral("1234.5678901234"));
    EXPECT_EQ(FormatFixed(double(0.1f)), QStringLiteral("0.1000000015"));
    EXPECT_EQ(FormatFixed(std::nan("")), QStringLiteral("NaN"));
    EXPECT_EQ(FormatFixed(HUGE_VAL), QStringLiteral("+Infinity"));
    EXPECT_EQ(FormatFixed(-HUGE_VAL), QStringLiteral("-Infinity"));
}

} // namespace
} // namespace flow
