#include "render/ValueDisplay.h"

#include <gtest/gtest.h>

#include <limits>

namespace flow {
namespace {

// Readable expectations: "-" stands for U+2212, "'" for a hair space, "~" for the exponent mark.
QString Typographic(const char* text) {
    QString result;
    for (const char* c = text; *c; ++c) {
        if (*c == '-')
            result += QChar(0x2212);
        else if (*c == '\'')
            result += QChar(0x200A);
        else if (*c == '~')
            result += QStringLiteral("\u200A\u212F");
        else
            result += QLatin1Char(*c);
    }
    return result;
}

TEST(ValueDisplayTest, IntegersGroupDigitsByThreesWithTrueMinus) {
    EXPECT_EQ(DisplayInteger(0), Typographic("0"));
    EXPECT_EQ(DisplayInteger(999), Typographic("999"));
    EXPECT_EQ(DisplayInteger(1000), Typographic("1'000"));
    EXPECT_EQ(DisplayInteger(-999), Typographic("-999"));
    EXPECT_EQ(DisplayInteger(100000), Typographic("100'000"));
    EXPECT_EQ(DisplayInteger(-1234567), Typographic("-1'234'567"));
    EXPECT_EQ(DisplayInteger(std::numeric_limits<Int>::max()),
              Typographic("9'223'372'036'854'775'807"));
    EXPECT_EQ(DisplayInteger(std::numeric_limits<Int>::min()),
              Typographic("-9'223'372'036'854'775'808"));
}

TEST(ValueDisplayTest, RealsFollowTheDigitRulesOfPlainTexts) {
    const struct {
        double Value;
        const char* Text;
    } rows[] = {
        {1.5, "1.5"},
        {1.0, "1."},
        {100.0, "100."},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {-2.5, "-2.5"},
        {123456.789, "1.23456789~5"},
        {100000.0, "1.~5"},
        {-1e20, "-1.~20"},
        {0.000125, "1.25~-4"},
        {-0.000125, "-1.25~-4"},
        {0.00099, "9.9~-4"},
        {0.001, "1.~-3"}, // exact powers of ten keep a mantissa of 1
        {-1e-5, "-1.~-5"},
        {99999.5, "99999.5"},
        {0.0, "0."},
        {-0.0, "0."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(DisplayReal(row.Value, 15), Typographic(row.Text)) << row.Value;
}

TEST(ValueDisplayTest, SpecialRealsKeepTheirAsciiNames) {
    EXPECT_EQ(DisplayReal(std::numeric_limits<double>::quiet_NaN(), 15), "NaN");
    EXPECT_EQ(DisplayReal(std::numeric_limits<double>::infinity(), 15), "+Infinity");
    EXPECT_EQ(DisplayReal(-std::numeric_limits<double>::infinity(), 15), "-Infinity");
}

TEST(ValueDisplayTest, NoAsciiHyphenInAnyNegativeValue) {
    for (const double v : {-1.0, -1e-300, -1e300, -0.5, -123456.0, -5e-324, -0.001})
        EXPECT_FALSE(DisplayReal(v, 15).contains(QLatin1Char('-'))) << v;
    EXPECT_EQ(DisplayReal(1e-300, 15).count(QChar(0x2212)), 1);
    EXPECT_EQ(DisplayReal(-1e-300, 15).count(QChar(0x2212)), 2);
    EXPECT_FALSE(DisplayInteger(-5).contains(QLatin1Char('-')));
}

} // namespace
} // namespace flow
