#include "app/PlaceholderFindBar.h"

#include "app/FindBarDelegate.h"
#include "platform/Localizer.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

PlaceholderFindBar::PlaceholderFindBar() : m_bar(new QWidget), m_searchField(new QLineEdit)
{
    auto *layout = new QHBoxLayout(m_bar);
    layout->setContentsMargins(4, 2, 4, 2);
    m_searchField->setPlaceholderText(L(QStringLiteral("Find")));
    auto *done = new QPushButton(L(QStringLiteral("Done")));
    layout->addWidget(m_searchField, 1);
    layout->addWidget(done);
    connect(m_searchField, &QLineEdit::returnPressed, this, [this] {
        if (m_delegate)
            m_delegate->findStringDidChange(m_searchField->text());
    });
    connect(done, &QPushButton::clicked, this, [this] {
        if (m_delegate)
            m_delegate->findBarButtonDidPress(QStringLiteral("Done"));
    });
}

PlaceholderFindBar::~PlaceholderFindBar()
{
    if (m_bar && !m_bar->parent())
        delete m_bar;
}

QWidget *PlaceholderFindBar::view()
{
    return m_bar;
}

void PlaceholderFindBar::setVisible(bool visible, std::function<void()> completion)
{
    m_visible = visible;
    m_bar->setVisible(visible);
    if (completion)
        completion();
}
