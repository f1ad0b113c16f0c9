#include <gtest/gtest.h>

#include <QColor>
#include <QString>

#include "ColorHelpers.h"

namespace {

struct ColorCase {
    const char* name;
    const char* text;
    QRgb expected; // opaque red, green, blue
};

void PrintTo(const ColorCase& c, std::ostream* os)
{
    *os << c.name;
}

class ColorFromText : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ColorFromText, GivesTheExpectedComponents)
{
    const ColorCase& c = GetParam();
    const QColor color = ColorHelpers::color(QString::fromUtf8(c.text));
    ASSERT_TRUE(color.isValid());
    EXPECT_EQ(color.red(), qRed(c.expected));
    EXPECT_EQ(color.green(), qGreen(c.expected));
    EXPECT_EQ(color.blue(), qBlue(c.expected));
    EXPECT_EQ(color.alpha(), 255);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColorFromText,
    ::testing::Values(ColorCase{"WithHash", "#ff2d55", qRgb(0xff, 0x2d, 0x55)},
                      ColorCase{"WithoutHash", "ff2d55", qRgb(0xff, 0x2d, 0x55)},
                      ColorCase{"UpperCase", "#F72020", qRgb(0xf7, 0x20, 0x20)},
                      ColorCase{"Empty", "", qRgb(0, 0, 0)},
                      ColorCase{"OnlyHash", "#", qRgb(0, 0, 0)},
                      ColorCase{"NotHexadecimal", "xyz", qRgb(0, 0, 0)},
                      ColorCase{"ThreeDigitsAreANumberNotAShorthand", "abc", qRgb(0, 10, 188)},
                      ColorCase{"EightDigitsIgnoreTheTopByte", "#80ff2d55", qRgb(0xff, 0x2d, 0x55)},
                      ColorCase{"StopsAtTheFirstOtherCharacter", "#12zz", qRgb(0, 0, 0x12)},
                      ColorCase{"HexPrefix", "0x7bd422", qRgb(0x7b, 0xd4, 0x22)},
                      ColorCase{"HashThenHexPrefix", "#0X7bd422", qRgb(0x7b, 0xd4, 0x22)},
                      ColorCase{"PrefixWithoutDigitsIsZero", "0xg1", qRgb(0, 0, 0)},
                      ColorCase{"LeadingBlanks", " \t\n313131", qRgb(0x31, 0x31, 0x31)},
                      ColorCase{"BlanksAfterTheHash", "#  313131", qRgb(0x31, 0x31, 0x31)},
                      ColorCase{"HashAfterBlanksDoesNotScan", " #313131", qRgb(0, 0, 0)},
                      ColorCase{"OnlyOneHashIsDropped", "##ff2d55", qRgb(0, 0, 0)},
                      ColorCase{"LeadingZerosAreNotAnOverflow", "00000000000000000000ff6d88",
                                qRgb(0xff, 0x6d, 0x88)},
                      ColorCase{"OverflowSaturates", "123456789abcdef0ff2d55",
                                qRgb(0xff, 0xff, 0xff)},
                      ColorCase{"SixteenDigitsFit", "#00000000007bd422", qRgb(0x7b, 0xd4, 0x22)}),
    [](const ::testing::TestParamInfo<ColorCase>& info) { return std::string(info.param.name); });

TEST(ColorHelpers, AlphaIsKeptAlsoForBlack)
{
    EXPECT_DOUBLE_EQ(ColorHelpers::color(QStringLiteral("#ff2d55")).alphaF(), 1.0);
    EXPECT_NEAR(ColorHelpers::color(QStringLiteral("#ff2d55"), 0.5).alphaF(), 0.5, 1e-4);
    const QColor black = ColorHelpers::color(QStringLiteral("xyz"), 0.25);
    EXPECT_EQ(black.rgb(), qRgb(0, 0, 0));
    EXPECT_NEAR(black.alphaF(), 0.25, 1e-4);
    EXPECT_EQ(ColorHelpers::color(QString(), 0.0).alpha(), 0);
}

TEST(ColorHelpers, AlphaOutOfRangeIsClampedToAValidColour)
{
    const QColor over = ColorHelpers::color(QStringLiteral("#ffffff"), 1.5);
    ASSERT_TRUE(over.isValid());
    EXPECT_EQ(over.alpha(), 255);
    const QColor under = ColorHelpers::color(QStringLiteral("#ffffff"), -1.0);
    ASSERT_TRUE(under.isValid());
    EXPECT_EQ(under.alpha(), 0);
}

TEST(ColorHelpers, HexadecimalIsOpaque)
{
    EXPECT_EQ(ColorHelpers::hexadecimal(QStringLiteral("#7bd422")),
              ColorHelpers::color(QStringLiteral("7bd422"), 1.0));
}

} // namespace
