#include "print/PrintOptionsReader.h"

#include "print/OptionValue.h"
#include "print/PrintKeys.h"
#include "print/PrintOptionsDict.h"

#include <algorithm>

using namespace PrintKey;

QVariantMap PrintOptionsReader::styleOptions(const QString &key) const
{
    return m_options.value(key).toMap();
}

QString PrintOptionsReader::style() const
{
    return m_options.value(PrintStyle).toString();
}

QString PrintOptionsReader::fontName() const
{
    const QString name = m_options.value(FontName).toString();
    return name.isEmpty() ? PrintOptionsDict::defaultFontName() : name;
}

int PrintOptionsReader::fontSize() const
{
    return int(std::clamp<qint64>(OptionValue::toInteger(m_options.value(FontSize)), 1, 1000));
}

QFont PrintOptionsReader::font() const
{
    QFont font(fontName());
    font.setPointSizeF(fontSize());
    return font;
}

QMarginsF PrintOptionsReader::margins() const
{
    return {OptionValue::toDouble(m_options.value(LeftMargin)), OptionValue::toDouble(m_options.value(TopMargin)),
            OptionValue::toDouble(m_options.value(RightMargin)),
            OptionValue::toDouble(m_options.value(BottomMargin))};
}

PrintOptionsReader::AddressList PrintOptionsReader::addressList() const
{
    const QVariantMap options = styleOptions(AddressListOptions);
    AddressList list;
    for (const QVariant &value : options.value(ItemTable).toList()) {
        const QVariantMap entry = value.toMap();
        list.items.append({entry.value(Title).toString(), OptionValue::toBool(entry.value(State))});
    }
    list.labels = options.value(SelectedLabels).toStringList();
    if (list.labels.isEmpty())
        list.labels = {AllLabels};
    list.alternatingRow = OptionValue::toBool(options.value(AlternatingRow));
    list.printFrame = OptionValue::toBool(options.value(PrintFrame));
    return list;
}

LabelGrid::Sizes PrintOptionsReader::labelSizes() const
{
    const QVariantMap options = styleOptions(MailingLabelsOptions);
    return {OptionValue::toDouble(options.value(LabelWidth)), OptionValue::toDouble(options.value(LabelHeight)),
            OptionValue::toDouble(options.value(HGap)), OptionValue::toDouble(options.value(VGap))};
}

qint64 PrintOptionsReader::repeatCount() const
{
    return std::max<qint64>(OptionValue::toInteger(styleOptions(MailingLabelsOptions).value(RepeatCount)), 0);
}

PrintOptionsReader::AddressBook PrintOptionsReader::addressBook() const
{
    const QVariantMap options = styleOptions(AddressBookOptions);
    const QString format = options.value(PrintFormat).toString();
    return {options.value(PrintFormatDictionary).toMap().value(format).toStringList(),
            OptionValue::toDouble(options.value(FontSize)), OptionValue::toBool(options.value(PrintCompany))};
}
