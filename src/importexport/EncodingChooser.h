#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QComboBox;
class QDialog;
class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;
class UserDefaults;

// The accessory of the import's open panel: a popup of text encodings headed by "Automatic" (in
// the encoding-only chooser), fed by the user's own list of encodings. A separate panel edits the
// list with check boxes; closing it keeps the list in the "Encodings" default.
//
// The first use, with no list kept, ticks UTF-8, UTF-16 big-endian and the encodings of the
// user's first two languages ("Western" for the Western European ones, less the five rarely
// wanted Western encodings).
class EncodingChooser : public QObject
{
    Q_OBJECT

public:
    struct Row
    {
        bool checkBox = false;
        quint32 nsEncoding = 0;
        QString encodingName;
    };
    enum AccessoryType
    {
        FullChooser = 0,
        EncodingOnly = 1
    };

    explicit EncodingChooser(UserDefaults &defaults, QObject *parent = nullptr);
    ~EncodingChooser() override;

    // Encoding only: no line-break popup, "Automatic" first and selected.
    void setEncodingOnly();
    // The widget put into the open panel; built on first use.
    QWidget *view();
    // 0 for "Automatic", else the chosen encoding; with nothing selected, 0 in the full chooser and
    // the last answer in the encoding-only one.
    quint32 encodingType();
    int accessoryType() const { return m_accessoryType; }

    const QList<Row> &encodingTable() const { return m_encodingTable; }
    QComboBox *encodingTypePopup() const { return m_encodingTypePopup; }
    QDialog *encodingListPanel() const { return m_encodingListPanel; }
    // The texts of the popup's items in order, "" standing for the separator.
    QStringList popupTitles() const;

    // Ticks exactly UTF-8, UTF-16 big-endian and the encodings of the preferred languages.
    void defaultEncodings();
    void setupEncodingPopup();
    // A check box of the list changed.
    void setChecked(int row, bool checked);
    void selectAll();
    void clearAll();
    void revert();
    // Shows the list panel; closing it stores the list.
    void showEncodingList();
    void saveEncodingList();

private:
    void awakeFromNib();
    void loadStoredList();
    void reloadList();
    void encodingTypePopupSelected(int index);
    int indexOfEncoding(quint32 encoding) const;
    QString displayName(const Row &row) const;

    UserDefaults &m_defaults;
    QList<Row> m_encodingTable;
    int m_accessoryType = FullChooser;
    quint32 m_encoding = 0;
    QString m_utf8LocalizedName;
    QString m_utf16LocalizedName;
    int m_lastEncodingIndex = 0;
    bool m_rebuilding = false;

    QPointer<QWidget> m_view;
    QLabel *m_encodingTypePopupTitle = nullptr;
    QComboBox *m_encodingTypePopup = nullptr;
    QLabel *m_lineBreakTypePopupTitle = nullptr;
    QComboBox *m_lineBreakTypePopup = nullptr;
    QPointer<QDialog> m_encodingListPanel;
    QTableWidget *m_tableView = nullptr;
};
