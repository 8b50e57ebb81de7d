#include "print/AddressTextSwitches.h"

#include "platform/Localizer.h"
#include "print/OptionValue.h"
#include "print/PrintControls.h"
#include "print/PrintKeys.h"
#include "print/PrintOptionsDict.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QSignalBlocker>

using namespace PrintKey;

namespace {

// The honorifics offered after a name; the first item, no honorific, is stored as "".
const QStringList Honorifics{QStringLiteral("様"), QStringLiteral("殿"), QStringLiteral("御中"),
                             QStringLiteral("先生")};

} // namespace

AddressTextSwitches::AddressTextSwitches(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QFormLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_printFrame = addSwitch("Print Frame");
    m_printCompany = addSwitch("Print Company");
    m_printCountry = addSwitch("Print Country");
    m_printPrefix = addSwitch("Print Prefix");
    m_keishou = new QComboBox(this);
    m_keishou->addItem(L(QStringLiteral("None")), QString());
    for (const QString &honorific : Honorifics)
        m_keishou->addItem(honorific, honorific);
    layout->addRow(L(QStringLiteral("Suffix:")), m_keishou);
    m_drawVertical = addSwitch("Draw Text in Vertical");
    m_font = new QComboBox(this);
    layout->addRow(L(QStringLiteral("Vertical Font:")), m_font);

    connect(m_keishou, &QComboBox::activated, this, &AddressTextSwitches::changed);
    connect(m_font, &QComboBox::activated, this, &AddressTextSwitches::changed);
    // The font matters only for vertical text.
    connect(m_drawVertical, &QCheckBox::toggled, m_font, &QWidget::setEnabled);
}

QCheckBox *AddressTextSwitches::addSwitch(const char *title)
{
    auto *box = new QCheckBox(L(QString::fromLatin1(title)), this);
    static_cast<QFormLayout *>(layout())->addRow(box);
    connect(box, &QCheckBox::toggled, this, &AddressTextSwitches::changed);
    return box;
}

void AddressTextSwitches::setUp(QVariantMap &options, const QStringList &verticalFonts)
{
    PrintControls::setQuietly(m_printFrame, OptionValue::toBool(options.value(PrintFrame)));
    PrintControls::setQuietly(m_printCompany, OptionValue::toBool(options.value(PrintCompany)));
    PrintControls::setQuietly(m_printCountry, OptionValue::toBool(options.value(PrintCountry)));
    PrintControls::setQuietly(m_printPrefix, OptionValue::toBool(options.value(PrintPrefix)));
    // Set from the options, so that the next update keeps what the user chose last time.
    PrintControls::setQuietly(m_drawVertical, OptionValue::toBool(options.value(PrintVertical)));
    m_font->setEnabled(m_drawVertical->isChecked());

    const QString keishou = options.value(Keishou).toString();
    if (keishou.isEmpty()) {
        const QSignalBlocker blocker(m_keishou);
        m_keishou->setCurrentIndex(0);
    } else {
        PrintControls::selectQuietly(m_keishou, keishou);
    }

    {
        const QSignalBlocker blocker(m_font);
        m_font->clear();
        for (const QString &font : verticalFonts)
            m_font->addItem(font, font);
    }
    QString name = options.value(VerticalFontName).toString();
    if (name.isEmpty()) {
        name = verticalFonts.isEmpty() ? PrintOptionsDict::defaultFontName() : verticalFonts.first();
        options.insert(VerticalFontName, name);
    }
    PrintControls::selectQuietly(m_font, name);
}

void AddressTextSwitches::write(QVariantMap &options) const
{
    options.insert(PrintFrame, m_printFrame->isChecked());
    options.insert(PrintCountry, m_printCountry->isChecked());
    options.insert(PrintCompany, m_printCompany->isChecked());
    options.insert(PrintPrefix, m_printPrefix->isChecked());
    options.insert(Keishou, m_keishou->currentData().toString());
    options.insert(PrintVertical, m_drawVertical->isChecked());
    if (m_font->currentIndex() >= 0)
        options.insert(VerticalFontName, m_font->currentData().toString());
}
