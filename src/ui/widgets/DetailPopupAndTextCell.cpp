#include "ui/widgets/DetailPopupAndTextCell.h"
#include "ui/widgets/DetailPopupButton.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "ui/widgets/DetailFindMarks.h"
#include "ui/widgets/DetailTextCell.h"
#include "ui/widgets/LabelPopup.h"

#include <QComboBox>
#include <QFontMetrics>

namespace {
constexpr int PopupMinimumWidth = 70;
constexpr int PopupMaximumWidth = 170;
// Room for the popup's arrow beside its title.
constexpr int PopupArrowWidth = 35;
} // namespace

DetailPopupAndTextCell::DetailPopupAndTextCell(QWidget *parent)
    : QWidget(parent), m_labelPopup(new DetailPopupButton(this)), m_textCell(new DetailTextCell(this))
{
    m_labelPopup->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    LabelPopup::drawPlaceholderAsLabel(*m_labelPopup);
    connect(m_labelPopup, &QComboBox::activated, this,
            [this](int index) { emit labelChosen(m_labelPopup->itemData(index).toString()); });
}

void DetailPopupAndTextCell::setLabels(const QStringList &labels, const QStringList &localizedLabels,
                                       const QStringList &customLabels)
{
    m_labels = labels;
    m_localizedLabels = localizedLabels;
    m_customLabels = customLabels;
}

void DetailPopupAndTextCell::setRowLayout(double rowHeight, int rowLines)
{
    m_rowHeight = rowHeight;
    m_rowLines = std::max(rowLines, 1);
}

void DetailPopupAndTextCell::updatePopupAndText()
{
    m_textCell->setFont(m_font);
    m_textCell->setLineLayout(m_rowHeight, m_rowLines);
    if (!m_labeledValue) {
        m_labelPopup->hide();
        m_textCell->setText(QString());
        m_textCell->setMarks({});
        layoutParts();
        return;
    }
    m_labelPopup->setFont(m_font);
    m_labelPopup->show();
    fillPopup();

    const QString text = m_labeledValue->value(PersonKey::StringValue).toString();
    m_textCell->setText(text);
    m_textCell->setMarks(DetailFindMarks::marks(text, m_findString, m_findOptions,
                                                holdsCurrentHit() ? m_findTarget : std::nullopt));
    layoutParts();
}

void DetailPopupAndTextCell::fillPopup()
{
    m_labelPopup->clear();
    m_labelPopup->setPlaceholderText(QString());
    const QString label = m_labeledValue->value(PersonKey::Label).toString();
    if (!m_editState) {
        addPopupItem(label, localizedTitle(label), m_customLabels.contains(label));
        m_labelPopup->setCurrentIndex(0);
        return;
    }
    for (qsizetype i = 0; i < m_labels.size(); ++i) {
        const QString title = m_localizedLabels.value(i, m_labels.at(i));
        addPopupItem(m_labels.at(i), title, m_customLabels.contains(title));
    }
    qsizetype selected = m_labels.indexOf(label);
    if (selected < 0)
        selected = m_labelPopup->findText(localizedTitle(label));
    // No item stands for an unlabelled value: the closed popup still names its label, and since
    // nothing is selected, no choice is made until the user picks one.
    if (selected < 0)
        m_labelPopup->setPlaceholderText(localizedTitle(label));
    m_labelPopup->setCurrentIndex(int(selected));
}

void DetailPopupAndTextCell::addPopupItem(const QString &label, const QString &title, bool custom)
{
    // The title is translated; the label is what the record stores.
    m_labelPopup->addItem(title, label);
    if (custom)
        m_labelPopup->setItemData(m_labelPopup->count() - 1, QColor(Qt::lightGray), Qt::ForegroundRole);
}

QString DetailPopupAndTextCell::localizedTitle(const QString &label) const
{
    return QNPerson::localizedLabelFromCNLabel(QNPerson::CNLabelFromLabel(label));
}

bool DetailPopupAndTextCell::holdsCurrentHit() const
{
    if (!m_findTarget || !m_person)
        return false;
    const ItemAndRange &hit = *m_findTarget;
    return hit.uniqueId == m_person->uniqueId() && hit.labelIndex == m_labelIndex;
}

void DetailPopupAndTextCell::resizeEvent(QResizeEvent *)
{
    layoutParts();
}

QString DetailPopupAndTextCell::shownLabel() const
{
    return m_labelPopup->currentIndex() >= 0 ? m_labelPopup->currentText() : m_labelPopup->placeholderText();
}

int DetailPopupAndTextCell::popupWidth() const
{
    // Every row of a field gets the width of its widest label, so that the texts line up.
    const QFontMetrics metrics(m_font);
    int widest = metrics.horizontalAdvance(shownLabel());
    for (const QString &title : m_localizedLabels)
        widest = std::max(widest, metrics.horizontalAdvance(title));
    return std::clamp(widest + PopupArrowWidth, PopupMinimumWidth, PopupMaximumWidth);
}

void DetailPopupAndTextCell::layoutParts()
{
    int textLeft = 0;
    if (m_labelPopup->isVisibleTo(this)) {
        const int width = popupWidth();
        const int height = std::min(m_labelPopup->sizeHint().height(), int(m_rowHeight));
        const int top = (int(m_rowLines * m_rowHeight) - height) / 2;
        m_labelPopup->setGeometry(2, std::max(top, 0), width, height);
        textLeft = width + 4;
    }
    m_textCell->setGeometry(textLeft, 0, std::max(width() - textLeft, 0), height());
}
