#pragma once

#include "PrintFixture.h"

#include "addressbook/DefaultsKey.h"
#include "platform/PrintInfo.h"
#include "print/AccessoryViewController.h"

#include <QComboBox>
#include <QSignalSpy>

// An accessory as the print command makes it: the style set before the panel shows it, on A4.
class AccessoryFixture : public PrintFixture
{
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        m_info.setPageLayout(paper(QSizeF(595, 842)));
    }

    std::unique_ptr<AccessoryViewController> make(const QString &style)
    {
        auto accessory = std::make_unique<AccessoryViewController>(defaults());
        accessory->printOptions()->insert(PrintKey::PrintStyle, style);
        accessory->setPrintInfo(&m_info);
        return accessory;
    }
    QVariantMap saved() { return defaults().dictionaryForKey(DefaultsKey::PrintOptions); }
    static QVariantMap styleOptions(AccessoryViewController &accessory, const QString &key)
    {
        return accessory.printOptions()->value(key).toMap();
    }
    // Stores the options with one style's key changed, as an earlier print run would have.
    void store(const QString &styleKey, const QString &key, const QVariant &value)
    {
        QVariantMap options = PrintOptionsDict::createPrintOptions();
        QVariantMap style = options.value(styleKey).toMap();
        style.insert(key, value);
        options.insert(styleKey, style);
        defaults().setObject(options, DefaultsKey::PrintOptions);
    }
    // A choice in a pop-up, as a click makes it.
    static void choose(QComboBox *popup, int index)
    {
        popup->setCurrentIndex(index);
        emit popup->activated(index);
    }

    PrintInfo m_info;
};
