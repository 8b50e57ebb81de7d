#pragma once

#include <QString>

// The six layouts of the phone-number command. Menu items carry the layout in their data and show
// its sample number as their title, which is never translated.
enum class PhoneLayout
{
    FourPlusFour,
    ThreePlusFour,
    TwoPlusFour,
    QuadTwo,
    HyphenThreeFour,
    HyphenFourThreeThree,
};

inline constexpr PhoneLayout AllPhoneLayouts[] = {
    PhoneLayout::FourPlusFour, PhoneLayout::ThreePlusFour,   PhoneLayout::TwoPlusFour,
    PhoneLayout::QuadTwo,      PhoneLayout::HyphenThreeFour, PhoneLayout::HyphenFourThreeThree,
};

inline QString phoneLayoutTitle(PhoneLayout layout)
{
    switch (layout) {
    case PhoneLayout::FourPlusFour:
        return QStringLiteral("(12) 3456-7890");
    case PhoneLayout::ThreePlusFour:
        return QStringLiteral("(123) 456-7890");
    case PhoneLayout::TwoPlusFour:
        return QStringLiteral("(1234) 56-7890");
    case PhoneLayout::QuadTwo:
        return QStringLiteral("(12) 34 56 78 90");
    case PhoneLayout::HyphenThreeFour:
        return QStringLiteral("090-1234-5678");
    case PhoneLayout::HyphenFourThreeThree:
        return QStringLiteral("0120-123-456");
    }
    return {};
}
