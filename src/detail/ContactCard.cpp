#include "detail/ContactCard.h"

#include "ui/widgets/DetailIcons.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"

#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

const QString ContactCard::PhotoSource = QStringLiteral("contact-photo");
const QString ContactCard::PersonIconSource = QStringLiteral("icon_person");
const QString ContactCard::CompanyIconSource = QStringLiteral("icon_company");
const QString ContactCard::ValueStyle = QStringLiteral("color:#000000;");
const QString ContactCard::PlaceholderStyle = QStringLiteral("color:#aaaaaa;");

namespace {

constexpr int IconPixels = 32;
constexpr int PhotoPixels = 144;

struct LabeledField
{
    QString identifier;
    // The element ids' middle part ("Home-SNS") and the list element's id.
    QString idPart;
    bool singleLabel;
};

const QList<LabeledField> LabeledFields{
    {QStringLiteral("Email"), QStringLiteral("Email"), true},
    {QStringLiteral("Phone"), QStringLiteral("Phone"), true},
    {QStringLiteral("Social Network"), QStringLiteral("SNS"), true},
    {QStringLiteral("Instant Message"), QStringLiteral("IMS"), true},
    {QStringLiteral("Address"), QStringLiteral("Address"), true},
    {QStringLiteral("Dates"), QStringLiteral("Dates"), false},
    {QStringLiteral("Relationship"), QStringLiteral("Relationship"), false},
};

void setText(QDomElement element, const QString &text, const QString &style = QString())
{
    if (element.isNull())
        return;
    while (!element.firstChild().isNull())
        element.removeChild(element.firstChild());
    element.appendChild(element.ownerDocument().createTextNode(text));
    if (!style.isEmpty())
        element.setAttribute(QStringLiteral("style"), style);
}

// A value shown plainly, or the field's name in gray.
void setValueOrPlaceholder(const QDomElement &element, const QString &value, const QString &placeholder,
                           const QString &valueStyle)
{
    if (value.isEmpty())
        setText(element, placeholder, ContactCard::PlaceholderStyle);
    else
        setText(element, value, valueStyle);
}

QString dictionaryString(const std::optional<QVariantMap> &dictionary)
{
    return dictionary ? dictionary->value(PersonKey::StringValue).toString() : QString();
}

void fillSingleLabel(const QDomElement &element, const QString &id, const QString &label,
                     const QVariantList &values)
{
    if (element.isNull())
        return;
    // The id is the placeholder's key, so that it reads in the user's language.
    setText(element, L(id), ContactCard::PlaceholderStyle);
    // The last entry of the label is the one shown.
    for (const QVariant &value : values) {
        const QVariantMap entry = value.toMap();
        if (entry.value(PersonKey::Label).toString() == label)
            setText(element, entry.value(PersonKey::StringValue).toString(), ContactCard::ValueStyle);
    }
}

void fillList(QDomElement list, const QVariantList &values)
{
    if (list.isNull())
        return;
    QDomDocument document = list.ownerDocument();
    for (const QVariant &value : values) {
        const QVariantMap entry = value.toMap();
        QDomElement paragraph = document.createElement(QStringLiteral("p"));
        paragraph.setAttribute(QStringLiteral("class"), QStringLiteral("textfield"));
        QDomElement cite = document.createElement(QStringLiteral("cite"));
        // The label's display text, as everywhere else ("home", or 自宅 for a Japanese user).
        cite.appendChild(document.createTextNode(QNPerson::localizedLabelFromCNLabel(
            QNPerson::CNLabelFromLabel(entry.value(PersonKey::Label).toString()))));
        paragraph.appendChild(cite);
        paragraph.appendChild(document.createTextNode(QStringLiteral(" ")));
        paragraph.appendChild(document.createTextNode(entry.value(PersonKey::StringValue).toString()));
        list.appendChild(paragraph);
    }
}

QString compositeNameShown(QNPerson &person)
{
    const QString name = person.compositeName();
    return name.isEmpty() || name == PersonKey::NoName ? L(PersonKey::NoName) : name;
}

} // namespace

std::optional<QString> ContactCard::makeContactHTML(const ContactRowPtr &contact, const QString &templateName)
{
    if (!contact || !contact->person)
        return std::nullopt;
    QFile file(QStringLiteral(":/html/%1.html").arg(templateName));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QDomDocument document;
    if (!document.setContent(&file))
        return std::nullopt;
    const QDomElement body = document.documentElement().firstChildElement(QStringLiteral("body"));
    if (!body.isNull()) {
        localizeCaptions(body);
        fill(body, *contact->person);
    }
    return document.toString(4);
}

QDomElement ContactCard::getElementById(const QDomElement &element, const QString &id)
{
    if (element.isNull())
        return QDomElement();
    if (element.attribute(QStringLiteral("id")) == id)
        return element;
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        const QDomElement found = getElementById(child, id);
        if (!found.isNull())
            return found;
    }
    return QDomElement();
}

void ContactCard::fill(const QDomElement &body, QNPerson &person)
{
    setText(getElementById(body, QStringLiteral("Compositename")), compositeNameShown(person));
    QString source = PhotoSource;
    if (person.photo().isNull())
        source = person.showAsPerson() ? PersonIconSource : CompanyIconSource;
    getElementById(body, QStringLiteral("ContactImage")).setAttribute(QStringLiteral("src"), source);
    fillSingleFields(body, person);
    fillLabeledFields(body, person);
}

void ContactCard::fillSingleFields(const QDomElement &body, QNPerson &person)
{
    const QList<std::pair<QString, QString>> plainFields{
        {QStringLiteral("Company"), QStringLiteral("Company")},
        {QStringLiteral("Department"), QStringLiteral("Department")},
        {QStringLiteral("JobTitle"), QStringLiteral("Job Title")},
        {QStringLiteral("Nickname"), QStringLiteral("Nickname")}};
    for (const auto &[id, identifier] : plainFields)
        setValueOrPlaceholder(getElementById(body, id), person.stringValueForIdentifier(identifier),
                              L(identifier), QString());

    const auto black = [&body](const QString &id, const QString &value, const QString &identifier) {
        setValueOrPlaceholder(getElementById(body, id), value, L(identifier), ValueStyle);
    };
    black(QStringLiteral("Birthday"), dictionaryString(person.birthdayValue()), QStringLiteral("Birthday"));
    black(QStringLiteral("Suffix"), person.stringValueForIdentifier(QStringLiteral("Suffix")),
          QStringLiteral("Suffix"));
    black(QStringLiteral("Title"), person.stringValueForIdentifier(QStringLiteral("Title")),
          QStringLiteral("Title"));
    black(QStringLiteral("Name"), dictionaryString(person.nameValue()), QStringLiteral("Name"));
    black(QStringLiteral("Phonetic Name"), dictionaryString(person.phoneticNameValue()),
          QStringLiteral("Phonetic Name"));
    const QDomElement noteArea = getElementById(body, QStringLiteral("NoteArea"));
    if (!noteArea.isNull())
        setValueOrPlaceholder(getElementById(noteArea, QStringLiteral("Note")),
                              person.stringValueForIdentifier(QStringLiteral("Note")),
                              L(QStringLiteral("Note")), ValueStyle);
}

void ContactCard::fillLabeledFields(const QDomElement &body, QNPerson &person)
{
    for (const LabeledField &field : LabeledFields) {
        const QVariantList values = person.labeledValueForIdentifier(field.identifier);
        if (field.singleLabel) {
            for (const auto &[prefix, label] : {std::pair(QStringLiteral("Home-"), QStringLiteral("home")),
                                                std::pair(QStringLiteral("Work-"), QStringLiteral("work"))}) {
                const QString id = prefix + field.idPart;
                fillSingleLabel(getElementById(body, id), id, label, values);
            }
        }
        fillList(getElementById(body, field.idPart), values);
    }
}

void ContactCard::localizeCaptions(const QDomElement &element)
{
    const QString className = element.attribute(QStringLiteral("class"));
    if ((className == QLatin1String("caption") || className == QLatin1String("field")) &&
        element.firstChildElement().isNull())
        setText(element, L(element.text()));
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        localizeCaptions(child);
}

QHash<QString, QImage> ContactCard::imagesForHTML(const QString &html, QNPerson *person)
{
    QHash<QString, QImage> images;
    static const QRegularExpression sources(QStringLiteral("<img[^>]*\\ssrc=\"([^\"]+)\""));
    for (const QRegularExpressionMatch &match : sources.globalMatch(html)) {
        const QString source = match.captured(1);
        if (images.contains(source))
            continue;
        QImage image;
        if (source == PhotoSource)
            image = person ? person->thumbnail() : QImage();
        else
            image = DetailIcons::image(
                source, source == PersonIconSource || source == CompanyIconSource ? PhotoPixels : IconPixels);
        if (!image.isNull())
            images.insert(source, image);
    }
    return images;
}

void ContactCard::display(QTextBrowser *browser, const QString &html, QNPerson *person)
{
    const QHash<QString, QImage> images = imagesForHTML(html, person);
    browser->setHtml(html);
    QTextDocument *document = browser->document();
    for (auto it = images.constBegin(); it != images.constEnd(); ++it)
        document->addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
    // The pictures arrived after the text was laid out.
    document->markContentsDirty(0, document->characterCount());
}
