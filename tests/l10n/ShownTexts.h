#pragma once

// The texts a part of the program shows, searched for English words. Menus, widgets and alerts
// are walked as the user would see them: every visible label, button (and the menu it opens),
// placeholder, popup item, tab, column header, table cell and tool tip. Text fields and text views
// hold the contact's values (and the QR code's payload), which are data, not the program's texts.

#include "platform/widgets/Alert.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>

// Names of products, services and formats, which the Japanese program writes in Latin letters
// too. Acronyms (all capitals: OK, URL, CSV, QR) stay as well.
inline const QSet<QString> KeptWords{
    QStringLiteral("vCard"),     QStringLiteral("iPhone"),    QStringLiteral("Apple"),
    QStringLiteral("Google"),    QStringLiteral("App"),       QStringLiteral("Store"),
    QStringLiteral("Mac"),       QStringLiteral("Windows"),   QStringLiteral("Unix"),
    // Social networks and messengers.
    QStringLiteral("Twitter"),   QStringLiteral("Facebook"),  QStringLiteral("Flickr"),
    QStringLiteral("LinkedIn"),  QStringLiteral("Yelp"),      QStringLiteral("MySpace"),
    QStringLiteral("SinaWeibo"), QStringLiteral("TencentWeibo"), QStringLiteral("GameCenter"),
    QStringLiteral("Instagram"), QStringLiteral("Pinterest"), QStringLiteral("Snapchat"),
    QStringLiteral("Tumbler"),   QStringLiteral("WeChat"),    QStringLiteral("WhatsApp"),
    QStringLiteral("GaduGadu"),  QStringLiteral("GoogleTalk"), QStringLiteral("Jabber"),
    QStringLiteral("Skype"),     QStringLiteral("Yahoo"),
    // The QR code's carrier formats.
    QStringLiteral("docomo"),    QStringLiteral("au"),        QStringLiteral("SoftBank"),
    // The unit of the print window's lengths.
    QStringLiteral("mm"),
    // The standard names of text encodings: Unicode, Shift JIS, ISO Latin 1, Mac OS Roman, Big 5,
    // EBCDIC Latin Core.
    QStringLiteral("Unicode"),   QStringLiteral("Shift"),     QStringLiteral("Latin"),
    QStringLiteral("Roman"),     QStringLiteral("Big"),       QStringLiteral("Core"),
};

// The words of the text in Latin letters that Japanese would not keep. Units after a number
// ("30mm", "10 in") are written the same in Japanese.
inline QStringList englishWords(const QString &text)
{
    static const QRegularExpression unit(QStringLiteral(R"re((?<=\d)\s?(?:mm|cm|in|pt)\b)re"));
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    static const QSet<QString> programName = [] {
        QSet<QString> words;
        for (const QRegularExpressionMatch &match : word.globalMatch(QCoreApplication::applicationName()))
            words.insert(match.captured());
        return words;
    }();
    QStringList found;
    for (const QRegularExpressionMatch &match : word.globalMatch(QString(text).remove(unit))) {
        const QString candidate = match.captured();
        if (candidate != candidate.toUpper() && !KeptWords.contains(candidate) &&
            !programName.contains(candidate))
            found.append(candidate);
    }
    return found;
}

inline QString plainText(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

// The texts shown, each with where it was shown.
class ShownTexts
{
public:
    void add(const QString &place, const QString &text)
    {
        const QString shown = plainText(text);
        if (shown.isEmpty())
            return;
        // A font is offered under its own name.
        static const QStringList fonts = QFontDatabase::families();
        if (!englishWords(shown).isEmpty() && !fonts.contains(shown))
            m_english.insert(place + QStringLiteral(": ") + shown.simplified());
        ++m_count;
    }

    void addMenu(const QString &place, QMenu *menu)
    {
        if (!menu)
            return;
        // Menus that fill themselves as they open. A menu's title shows only as the item that
        // opens it.
        emit menu->aboutToShow();
        for (QAction *action : menu->actions())
            addAction(place, action);
    }

    void addWidget(const QString &place, QWidget *root)
    {
        if (!root)
            return;
        addOne(place, root);
        for (QWidget *widget : root->findChildren<QWidget *>()) {
            // What is hidden inside the window shows nowhere (popup menus are reached through
            // the items and buttons that open them).
            if (widget->isVisibleTo(root))
                addOne(place, widget);
        }
    }

    void addAlert(const QString &place, const Alert::Record &alert)
    {
        add(place, alert.messageText);
        add(place, alert.informativeText);
        for (const QString &button : alert.buttons)
            add(place, button);
    }

    QStringList english() const
    {
        QStringList lines(m_english.begin(), m_english.end());
        lines.sort();
        return lines;
    }
    int count() const { return m_count; }

private:
    void addAction(const QString &place, QAction *action)
    {
        if (action->isSeparator())
            return;
        add(place, action->text());
        addMenu(place + QStringLiteral(" > ") + action->text(), action->menu());
    }

    void addOne(const QString &place, QWidget *widget)
    {
        if (widget->isWindow())
            add(place, widget->windowTitle());
        add(place, widget->toolTip());
        if (auto *label = qobject_cast<QLabel *>(widget))
            add(place, label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            add(place, button->text());
            addMenu(place + QStringLiteral(" > ") + button->text(), buttonMenu(button));
        }
        if (auto *box = qobject_cast<QGroupBox *>(widget))
            add(place, box->title());
        if (auto *field = qobject_cast<QLineEdit *>(widget))
            add(place, field->placeholderText());
        if (auto *popup = qobject_cast<QComboBox *>(widget)) {
            for (int i = 0; i < popup->count(); ++i)
                add(place, popup->itemText(i));
        }
        if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                add(place, tabs->tabText(i));
                add(place, tabs->tabToolTip(i));
            }
        }
        if (auto *header = qobject_cast<QHeaderView *>(widget)) {
            if (header->model()) {
                for (int i = 0; i < header->count(); ++i)
                    add(place, header->model()->headerData(i, header->orientation()).toString());
            }
        } else if (auto *view = qobject_cast<QAbstractItemView *>(widget); view && view->model()) {
            addCells(place, *view->model(), QModelIndex());
        }
        for (QAction *action : widget->actions())
            addAction(place, action);
    }

    static QMenu *buttonMenu(QAbstractButton *button)
    {
        if (auto *push = qobject_cast<QPushButton *>(button))
            return push->menu();
        if (auto *tool = qobject_cast<QToolButton *>(button))
            return tool->menu();
        return nullptr;
    }

    // The cells of a table or tree, the children of its rows included.
    void addCells(const QString &place, const QAbstractItemModel &model, const QModelIndex &parent)
    {
        for (int row = 0; row < model.rowCount(parent); ++row) {
            for (int column = 0; column < model.columnCount(parent); ++column) {
                const QModelIndex cell = model.index(row, column, parent);
                add(place, model.data(cell, Qt::DisplayRole).toString());
                add(place, model.data(cell, Qt::ToolTipRole).toString());
            }
            if (model.hasChildren(model.index(row, 0, parent)))
                addCells(place, model, model.index(row, 0, parent));
        }
    }

    QSet<QString> m_english;
    int m_count = 0;
};
