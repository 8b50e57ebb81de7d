#include "detail/ContactInfoController.h"

#include "detail/ContactCard.h"
#include "detail/DetailEditorPresenter.h"
#include "detail/DetailFont.h"
#include "detail/DetailTableController.h"
#include "model/QNPerson.h"
#include "ui/contracts/ContactInfoControllerDelegate.h"
#include "ui/contracts/DetailEditDelegate.h"

#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

ContactInfoController::ContactInfoController(UserDefaults &defaults)
    : m_view(new QWidget), m_detail(new DetailTableController(*this, defaults, this)),
      m_card(new QTextBrowser)
{
    auto *layout = new QVBoxLayout(m_view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_detail->takeTableView());
    layout->addWidget(m_card);
    m_card->setOpenLinks(false);
    m_card->hide();
    m_detail->setSelectedFont(DetailFont::fontFromDefaults(defaults));
}

QWidget *ContactInfoController::view()
{
    return m_view;
}

QWidget *ContactInfoController::webView()
{
    return m_card;
}

QAbstractScrollArea *ContactInfoController::scrollView()
{
    return m_detail->tableView();
}

QAbstractItemView *ContactInfoController::tableView()
{
    return m_detail->tableView();
}

void ContactInfoController::setContact(const ContactRowPtr &contact)
{
    m_detail->setContact(contact);
    if (!editState())
        updateWebView();
}

ContactRowPtr ContactInfoController::contact() const
{
    return m_detail->contact();
}

void ContactInfoController::clearContact()
{
    m_detail->clearContact();
    clearCard();
}

void ContactInfoController::contactsDidLeave(const QSet<QString> &uniqueIds)
{
    if (!m_detail->showsAnyOf(uniqueIds))
        return;
    m_detail->dropContact();
    clearCard();
}

// The card shows the same values as the table: while it is shown it follows every change of the
// contact too, whoever made it, undo and redo included.
void ContactInfoController::updateTable()
{
    m_detail->updateTable();
    if (!editState())
        updateWebView();
}

void ContactInfoController::groupsDidChange()
{
    m_detail->groupsDidChange();
}

void ContactInfoController::updateWebView()
{
    const ContactRowPtr contact = m_detail->contact();
    // Without a card to show the previous one stays.
    const std::optional<QString> html = ContactCard::makeContactHTML(contact);
    if (!html)
        return;
    // The revision stands for the photo, which the text does not show.
    const quint64 revision = contact->person->revision();
    if (m_shownCard.person.lock() == contact->person && m_shownCard.revision == revision &&
        m_shownCard.html == *html)
        return;
    ContactCard::display(m_card, *html, contact->person.get());
    m_shownCard = {contact->person, revision, *html};
}

void ContactInfoController::clearCard()
{
    m_card->clear();
    m_shownCard = {};
}

void ContactInfoController::setEditState(bool editState)
{
    m_detail->setEditState(editState);
    m_detail->tableView()->setVisible(editState);
    m_card->setVisible(!editState);
}

bool ContactInfoController::editState() const
{
    return m_detail->editState();
}

void ContactInfoController::setSelectedLabels(const QStringList &labels)
{
    m_detail->setSelectedLabels(labels);
}

void ContactInfoController::setSelectedFont(const QFont &font)
{
    m_detail->setSelectedFont(font);
}

void ContactInfoController::setCustomItems(const QVariantList &customItems)
{
    m_detail->setCustomItems(customItems);
}

void ContactInfoController::setFindString(const QString &findString)
{
    m_detail->setFindString(findString);
}

void ContactInfoController::setFindOptions(Qt::CaseSensitivity findOptions)
{
    m_detail->setFindOptions(findOptions);
}

void ContactInfoController::selectItemAndRange(const std::optional<ItemAndRange> &hit)
{
    m_detail->selectItemAndRange(hit);
}

QStringList ContactInfoController::rowOrderTable() const
{
    return m_detail->rowOrderTable().value_or(DetailRowBuilder::defaultRowOrder());
}

void ContactInfoController::editForIdentifier(const QString &identifier)
{
    m_detail->editForIdentifier(identifier);
}

Popover *ContactInfoController::popover() const
{
    return m_detail->editorPresenter().popover();
}

void ContactInfoController::setDelegate(ContactInfoControllerDelegate *delegate)
{
    m_delegate = delegate;
}

DetailEditDelegate *ContactInfoController::editDelegate() const
{
    if (m_editDelegate)
        return m_editDelegate;
    return dynamic_cast<DetailEditDelegate *>(m_delegate);
}

QObject *ContactInfoController::editSender()
{
    return m_view;
}

void ContactInfoController::sendContactDidUpdate()
{
    if (m_view && m_view->window())
        m_view->window()->setWindowModified(true);
    if (m_delegate)
        m_delegate->contactDidUpdate(m_detail->contact(), m_view);
}
