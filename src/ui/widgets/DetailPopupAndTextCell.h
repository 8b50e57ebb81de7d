#pragma once

#include "ui/contracts/ItemAndRange.h"

#include <QFont>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <optional>

class DetailTextCell;
class QComboBox;
class QNPerson;

// The value cell of a labelled entry: a popup of the entry's label beside its text. Editable, the
// popup offers every label of the field (the user's own in gray); locked, only the entry's own.
// The text carries the find marks; the current hit is orange only where it still matches.
class DetailPopupAndTextCell : public QWidget
{
    Q_OBJECT

public:
    explicit DetailPopupAndTextCell(QWidget *parent = nullptr);

    void setFindString(const QString &findString) { m_findString = findString; }
    void setFindOptions(Qt::CaseSensitivity findOptions) { m_findOptions = findOptions; }
    void setPerson(QNPerson *person) { m_person = person; }
    // The hit when it lies in this cell's field; nullopt otherwise.
    void setFindTarget(const std::optional<ItemAndRange> &target) { m_findTarget = target; }
    void setSelectedFont(const QFont &font) { m_font = font; }
    void setLabels(const QStringList &labels, const QStringList &localizedLabels,
                   const QStringList &customLabels);
    // nullopt for the empty row of a field without entries: no popup, no text.
    void setLabeledValue(const std::optional<QVariantMap> &value) { m_labeledValue = value; }
    void setLabelIndex(int labelIndex) { m_labelIndex = labelIndex; }
    void setRowLayout(double rowHeight, int rowLines);
    void setEditState(bool editState) { m_editState = editState; }

    // Builds the popup and the text from the settings above.
    void updatePopupAndText();

    QComboBox *labelPopup() const { return m_labelPopup; }
    // The label title the closed popup shows, chosen item or not.
    QString shownLabel() const;
    DetailTextCell *textCell() const { return m_textCell; }

signals:
    // The user chose a label in the popup: the label as stored ("home"), not its translated title.
    void labelChosen(const QString &label);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fillPopup();
    void addPopupItem(const QString &label, const QString &title, bool custom);
    QString localizedTitle(const QString &label) const;
    bool holdsCurrentHit() const;
    int popupWidth() const;
    void layoutParts();

    QComboBox *m_labelPopup;
    DetailTextCell *m_textCell;
    QString m_findString;
    Qt::CaseSensitivity m_findOptions = Qt::CaseInsensitive;
    QNPerson *m_person = nullptr;
    std::optional<ItemAndRange> m_findTarget;
    QFont m_font;
    QStringList m_labels;
    QStringList m_localizedLabels;
    QStringList m_customLabels;
    std::optional<QVariantMap> m_labeledValue;
    int m_labelIndex = 0;
    double m_rowHeight = 20.0;
    int m_rowLines = 1;
    bool m_editState = false;
};
