#pragma once

#include "model/AddressBookRecords.h"

#include <QDomElement>
#include <QHash>
#include <QImage>
#include <QString>

#include <optional>

class QNPerson;
class QTextBrowser;

// The read-only contact card: the program's template "contact.html" (well-formed XHTML) with the
// elements named by their "id" filled with the contact's values, placeholders in gray. Nothing is
// written to disk: the card's pictures (the contact's photo and the icons the template names) are
// handed to the browser as in-memory resources, under fixed names that never come from the
// contact's values.
class ContactCard
{
public:
    // The name under which the card refers to the contact's photo.
    static const QString PhotoSource;
    static const QString PersonIconSource;
    static const QString CompanyIconSource;
    static const QString ValueStyle;
    static const QString PlaceholderStyle;

    // The filled template ":/html/<templateName>.html" as indented XHTML; nullopt when the
    // template is missing or not well-formed XML, or there is no contact.
    static std::optional<QString> makeContactHTML(const ContactRowPtr &contact,
                                                  const QString &templateName = QStringLiteral("contact"));

    // The first element in document order, the given one included, whose attribute "id" is id.
    static QDomElement getElementById(const QDomElement &element, const QString &id);

    // The picture for each image source the card names: the photo, the person or company icon, or
    // an icon of the program; sources with no picture are left out.
    static QHash<QString, QImage> imagesForHTML(const QString &html, QNPerson *person);

    // Shows the card with its pictures.
    static void display(QTextBrowser *browser, const QString &html, QNPerson *person);

private:
    static void fill(const QDomElement &body, QNPerson &person);
    static void fillSingleFields(const QDomElement &body, QNPerson &person);
    static void fillLabeledFields(const QDomElement &body, QNPerson &person);
    static void localizeCaptions(const QDomElement &element);
};
