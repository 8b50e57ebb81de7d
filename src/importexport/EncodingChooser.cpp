#include "importexport/EncodingChooser.h"

#include "addressbook/DefaultsKey.h"
#include "addressbook/TextEncodings.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum ItemKind
{
    EncodingItem = 0,
    AutomaticItem = 1,
    CustomizeItem = 2
};
constexpr int EncodingRole = Qt::UserRole;
constexpr int KindRole = Qt::UserRole + 1;
constexpr int EncodingOnlyHeight = 36;

const QStringList &westernLanguages()
{
    static const QStringList languages{QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"),
                                       QStringLiteral("es"), QStringLiteral("it"), QStringLiteral("nl")};
    return languages;
}

const QStringList &unwantedWesternEncodings()
{
    static const QStringList names{QStringLiteral("Western (ASCII)"), QStringLiteral("Western (Mac Mail)"),
                                   QStringLiteral("Western (NextStep)"),
                                   QStringLiteral("Western (EBCDIC Latin Core)"),
                                   QStringLiteral("Western (EBCDIC Latin 1)")};
    return names;
}

// The text that the names of a language's encodings contain; empty for none.
QString searchTextForLanguage(const QString &language)
{
    const QString code = language.left(2);
    if (westernLanguages().contains(code))
        return QStringLiteral("Western");
    const QLocale locale(code);
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return {};
    return QLocale::languageToString(locale.language());
}

} // namespace

EncodingChooser::EncodingChooser(UserDefaults &defaults, QObject *parent) : QObject(parent), m_defaults(defaults)
{
    for (const TextEncodings::Encoding &encoding : TextEncodings::all())
        m_encodingTable.append({false, encoding.encoding, encoding.name});
}

EncodingChooser::~EncodingChooser()
{
    delete m_view;
    delete m_encodingListPanel;
}

QString EncodingChooser::displayName(const Row &row) const
{
    return L(row.encodingName);
}

void EncodingChooser::setEncodingOnly()
{
    m_accessoryType = EncodingOnly;
    QWidget *widget = view();
    widget->setFixedHeight(EncodingOnlyHeight);
    m_lineBreakTypePopupTitle->hide();
    m_lineBreakTypePopup->hide();
    const QString automatic = L(QStringLiteral("Automatic"));
    const int existing = m_encodingTypePopup->findText(automatic);
    if (existing >= 0)
        m_encodingTypePopup->removeItem(existing);
    m_encodingTypePopup->insertItem(0, automatic);
    m_encodingTypePopup->setItemData(0, AutomaticItem, KindRole);
    m_encodingTypePopup->setCurrentIndex(0);
    m_lastEncodingIndex = 0;
}

QWidget *EncodingChooser::view()
{
    if (!m_view)
        awakeFromNib();
    return m_view;
}

void EncodingChooser::awakeFromNib()
{
    m_view = new QWidget;
    auto *layout = new QHBoxLayout(m_view);
    layout->setContentsMargins(0, 0, 0, 0);
    m_encodingTypePopupTitle = new QLabel(L(QStringLiteral("Encoding:")));
    m_encodingTypePopup = new QComboBox;
    m_lineBreakTypePopupTitle = new QLabel(L(QStringLiteral("Line Breaks:")));
    m_lineBreakTypePopup = new QComboBox;
    m_lineBreakTypePopup->addItems(
        {L(QStringLiteral("Unix (LF)")), L(QStringLiteral("Mac (CR)")), L(QStringLiteral("Windows (CR/LF)"))});
    layout->addWidget(m_encodingTypePopupTitle);
    layout->addWidget(m_encodingTypePopup, 1);
    layout->addWidget(m_lineBreakTypePopupTitle);
    layout->addWidget(m_lineBreakTypePopup);
    connect(m_encodingTypePopup, &QComboBox::activated, this, &EncodingChooser::encodingTypePopupSelected);

    m_encodingListPanel = new QDialog;
    m_encodingListPanel->setWindowTitle(L(QStringLiteral("Customize Encoding List")));
    auto *panelLayout = new QVBoxLayout(m_encodingListPanel);
    m_tableView = new QTableWidget(0, 1);
    m_tableView->horizontalHeader()->hide();
    m_tableView->verticalHeader()->hide();
    m_tableView->horizontalHeader()->setStretchLastSection(true);
    panelLayout->addWidget(m_tableView);
    auto *buttons = new QHBoxLayout;
    auto *selectAllButton = new QPushButton(L(QStringLiteral("Select All")));
    auto *clearAllButton = new QPushButton(L(QStringLiteral("Clear All")));
    auto *revertButton = new QPushButton(L(QStringLiteral("Revert")));
    buttons->addWidget(selectAllButton);
    buttons->addWidget(clearAllButton);
    buttons->addWidget(revertButton);
    panelLayout->addLayout(buttons);
    connect(selectAllButton, &QPushButton::clicked, this, &EncodingChooser::selectAll);
    connect(clearAllButton, &QPushButton::clicked, this, &EncodingChooser::clearAll);
    connect(revertButton, &QPushButton::clicked, this, &EncodingChooser::revert);
    connect(m_tableView, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_rebuilding)
            setChecked(item->row(), item->checkState() == Qt::Checked);
    });
    connect(m_encodingListPanel, &QDialog::finished, this, &EncodingChooser::saveEncodingList);

    loadStoredList();
    setupEncodingPopup();
    reloadList();
}

void EncodingChooser::loadStoredList()
{
    const QStringList stored = m_defaults.arrayForKey(DefaultsKey::Encodings).isEmpty()
                                   ? QStringList()
                                   : m_defaults.objectForKey(DefaultsKey::Encodings).toStringList();
    if (stored.isEmpty()) {
        defaultEncodings();
        return;
    }
    for (const QString &name : stored) {
        for (Row &row : m_encodingTable) {
            if (row.nsEncoding == TextEncodings::UTF8)
                row.checkBox = true;
            if (row.encodingName == name) {
                row.checkBox = true;
                break;
            }
        }
    }
}

void EncodingChooser::defaultEncodings()
{
    for (Row &row : m_encodingTable)
        row.checkBox = row.nsEncoding == TextEncodings::UTF8 || row.nsEncoding == TextEncodings::UTF16BigEndian;
    const QStringList languages = Localizer::shared().preferredLanguages();
    for (qsizetype i = 0; i < qMin<qsizetype>(2, languages.size()); ++i) {
        const QString search = searchTextForLanguage(languages.at(i));
        if (search.isEmpty())
            continue;
        for (Row &row : m_encodingTable) {
            if (row.encodingName.contains(search))
                row.checkBox = true;
        }
    }
    for (Row &row : m_encodingTable) {
        if (unwantedWesternEncodings().contains(row.encodingName))
            row.checkBox = false;
    }
}

void EncodingChooser::setupEncodingPopup()
{
    if (!m_encodingTypePopup)
        return;
    m_rebuilding = true;
    m_encodingTypePopup->clear();
    for (const Row &row : std::as_const(m_encodingTable)) {
        if (row.nsEncoding == TextEncodings::UTF8)
            m_utf8LocalizedName = displayName(row);
        if (row.nsEncoding == TextEncodings::UTF16BigEndian)
            m_utf16LocalizedName = displayName(row);
        if (!row.checkBox)
            continue;
        m_encodingTypePopup->addItem(displayName(row));
        const int index = m_encodingTypePopup->count() - 1;
        m_encodingTypePopup->setItemData(index, row.nsEncoding, EncodingRole);
        m_encodingTypePopup->setItemData(index, EncodingItem, KindRole);
    }
    if (m_accessoryType == EncodingOnly) {
        m_encodingTypePopup->insertItem(0, L(QStringLiteral("Automatic")));
        m_encodingTypePopup->setItemData(0, AutomaticItem, KindRole);
    }
    m_encodingTypePopup->insertSeparator(m_encodingTypePopup->count());
    m_encodingTypePopup->addItem(L(QStringLiteral("Customize Encoding List…")));
    m_encodingTypePopup->setItemData(m_encodingTypePopup->count() - 1, CustomizeItem, KindRole);
    int selected = 0;
    if (m_accessoryType != EncodingOnly) {
        const int utf8 = indexOfEncoding(TextEncodings::UTF8);
        selected = utf8 >= 0 ? utf8 : 0;
    }
    m_encodingTypePopup->setCurrentIndex(selected);
    m_lastEncodingIndex = selected;
    m_rebuilding = false;
}

void EncodingChooser::reloadList()
{
    if (!m_tableView)
        return;
    m_rebuilding = true;
    m_tableView->setRowCount(int(m_encodingTable.size()));
    for (int i = 0; i < m_encodingTable.size(); ++i) {
        auto *item = new QTableWidgetItem(displayName(m_encodingTable.at(i)));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(m_encodingTable.at(i).checkBox ? Qt::Checked : Qt::Unchecked);
        m_tableView->setItem(i, 0, item);
    }
    m_rebuilding = false;
}

int EncodingChooser::indexOfEncoding(quint32 encoding) const
{
    for (int i = 0; i < m_encodingTypePopup->count(); ++i) {
        if (m_encodingTypePopup->itemData(i, KindRole).toInt() == EncodingItem &&
            m_encodingTypePopup->itemData(i, EncodingRole).isValid() &&
            m_encodingTypePopup->itemData(i, EncodingRole).toUInt() == encoding)
            return i;
    }
    return -1;
}

QStringList EncodingChooser::popupTitles() const
{
    QStringList titles;
    if (!m_encodingTypePopup)
        return titles;
    for (int i = 0; i < m_encodingTypePopup->count(); ++i)
        titles.append(m_encodingTypePopup->itemText(i));
    return titles;
}

quint32 EncodingChooser::encodingType()
{
    view();
    const int index = m_encodingTypePopup->currentIndex();
    if (index < 0)
        return m_accessoryType == EncodingOnly ? m_encoding : 0;
    if (m_encodingTypePopup->itemData(index, KindRole).toInt() == AutomaticItem)
        return TextEncodings::Automatic;
    m_encoding = m_encodingTypePopup->itemData(index, EncodingRole).toUInt();
    return m_encoding;
}

void EncodingChooser::encodingTypePopupSelected(int index)
{
    if (m_encodingTypePopup->itemData(index, KindRole).toInt() != CustomizeItem) {
        m_lastEncodingIndex = index;
        return;
    }
    // The customize item is a command, not a choice.
    m_encodingTypePopup->setCurrentIndex(m_lastEncodingIndex);
    showEncodingList();
}

void EncodingChooser::showEncodingList()
{
    view();
    reloadList();
    // In front of the open panel, which runs modal meanwhile.
    m_encodingListPanel->setWindowModality(Qt::ApplicationModal);
    m_encodingListPanel->show();
    m_encodingListPanel->raise();
    m_encodingListPanel->activateWindow();
}

void EncodingChooser::setChecked(int rowIndex, bool checked)
{
    if (rowIndex < 0 || rowIndex >= m_encodingTable.size())
        return;
    Row &row = m_encodingTable[rowIndex];
    row.checkBox = checked;
    if (!m_encodingTypePopup)
        return;
    m_rebuilding = true;
    if (checked) {
        const int at = m_accessoryType == EncodingOnly ? 1 : 0;
        m_encodingTypePopup->insertItem(at, displayName(row));
        m_encodingTypePopup->setItemData(at, row.nsEncoding, EncodingRole);
        m_encodingTypePopup->setItemData(at, EncodingItem, KindRole);
        m_encodingTypePopup->setCurrentIndex(at);
    } else {
        const int index = indexOfEncoding(row.nsEncoding);
        if (index >= 0)
            m_encodingTypePopup->removeItem(index);
        m_encodingTypePopup->setCurrentIndex(0);
    }
    m_lastEncodingIndex = m_encodingTypePopup->currentIndex();
    m_rebuilding = false;
}

void EncodingChooser::selectAll()
{
    for (Row &row : m_encodingTable)
        row.checkBox = true;
    setupEncodingPopup();
    reloadList();
}

void EncodingChooser::clearAll()
{
    for (Row &row : m_encodingTable)
        row.checkBox = false;
    setupEncodingPopup();
    reloadList();
}

void EncodingChooser::revert()
{
    defaultEncodings();
    setupEncodingPopup();
    reloadList();
}

void EncodingChooser::saveEncodingList()
{
    QStringList names;
    for (const Row &row : std::as_const(m_encodingTable)) {
        if (row.checkBox)
            names.append(row.encodingName);
    }
    m_defaults.setObject(names, DefaultsKey::Encodings);
}
