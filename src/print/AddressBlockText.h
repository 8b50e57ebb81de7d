#pragma once

#include "model/QNPerson.h"
#include "ui/contracts/SubContactRow.h"

#include <QString>
#include <QVariantMap>

// The block printed on a mailing label or an envelope: the row's address, the company when asked
// for, then the name, with its suffix before it and an honorific after it when asked for.
namespace AddressBlockText {

struct Options
{
    bool printCompany = false;
    bool printCountry = false;
    bool printPrefix = false;
    QString keishou;

    // From the options of the "Mailing Labels" or "Envelope" style.
    static Options from(const QVariantMap &styleOptions);
};

// The row's "labelIndex" is a position in the contact's address list.
QString makeAdrsAndNameString(const SubContactRow &row, const Options &options);
// The lines of a normalised address entry, each ending in a line feed; its parts when it carries
// no formatted text.
QString addressText(const QNPerson::AddressDict &entry, bool printCountry);

} // namespace AddressBlockText
