#include "app/PlaceholderDetailPane.h"

#include "app/ContactInfoControllerDelegate.h"
#include "app/PlaceholderText.h"
#include "platform/Localizer.h"

#include <QHeaderView>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTextBrowser>

PlaceholderDetailPane::PlaceholderDetailPane()
    : m_stack(new QStackedWidget), m_table(new QTableWidget(0, 2)), m_card(new QTextBrowser)
{
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stack->addWidget(m_table);
    m_stack->addWidget(m_card);
}

PlaceholderDetailPane::~PlaceholderDetailPane()
{
    if (m_stack && !m_stack->parent())
        delete m_stack;
}

QWidget *PlaceholderDetailPane::view()
{
    return m_stack;
}

QWidget *PlaceholderDetailPane::webView()
{
    return m_card;
}

QAbstractScrollArea *PlaceholderDetailPane::scrollView()
{
    return m_table;
}

QAbstractItemView *PlaceholderDetailPane::tableView()
{
    return m_table;
}

void PlaceholderDetailPane::setContact(const ContactRowPtr &contact)
{
    if (!contact)
        return;
    m_contact = contact;
    updateTable();
    updateWebView();
}

void PlaceholderDetailPane::updateTable()
{
    if (!m_contact)
        return;
    m_table->setRowCount(1);
    m_table->setItem(0, 0, new QTableWidgetItem(L(QStringLiteral("Name"))));
    m_table->setItem(0, 1, new QTableWidgetItem(PlaceholderText::contactTitle(*m_contact)));
}

void PlaceholderDetailPane::updateWebView()
{
    m_card->setPlainText(m_contact ? PlaceholderText::contactTitle(*m_contact) : QString());
}

void PlaceholderDetailPane::setEditState(bool editState)
{
    m_stack->setCurrentWidget(editState ? static_cast<QWidget *>(m_table) : m_card);
}

void PlaceholderDetailPane::setSelectedFont(const QFont &font)
{
    m_table->setFont(font);
    m_card->setFont(font);
}

void PlaceholderDetailPane::sendContactDidUpdate()
{
    if (m_stack && m_stack->window())
        m_stack->window()->setWindowModified(true);
    if (m_delegate)
        m_delegate->contactDidUpdate(m_contact, m_stack);
}
