#include "find/FindBarController.h"

#include "find/FindBarView.h"
#include "platform/Localizer.h"
#include "ui/contracts/FindBarDelegate.h"
#include "ui/widgets/SegmentedControl.h"
#include "ui/widgets/ViewAlpha.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>

#include <utility>

namespace {

constexpr int ReadableCharacters = 12;

// A dozen average characters beside the clear button. Set as the fields' least width, it also
// stands in for the line edit's own, which grows as the clear button comes with the first letter.
int readableFieldWidth(const QLineEdit *field)
{
    QStyle *style = field->style();
    QStyleOptionFrame frame;
    frame.initFrom(field);
    frame.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, field);
    const QFontMetrics metrics = field->fontMetrics();
    // The line edit's own margins, and the clear button with its margins.
    const int chrome = 4 + 2 * style->pixelMetric(QStyle::PM_SmallIconSize, &frame, field);
    const QSize text(ReadableCharacters * metrics.averageCharWidth() + chrome, metrics.height());
    return style->sizeFromContents(QStyle::CT_LineEdit, &frame, text, field).width();
}

} // namespace

FindBarController::FindBarController()
    : m_view(new FindBarView), m_searchField(new QLineEdit), m_replaceStringField(new QLineEdit),
      m_doneButton(new QPushButton), m_directControl(new SegmentedControl(2)),
      m_replaceControl(new SegmentedControl(2)), m_optionPopup(new QComboBox)
{
    buildControls();
    m_view->hide();
    ViewAlpha::setAlpha(m_view, 0.0);
    m_view->setMaximumHeight(0);
    connect(m_searchField, &QLineEdit::returnPressed, this, [this] { textDidEnter(m_searchField); });
    connect(m_searchField, &QLineEdit::textEdited, this, &FindBarController::textDidEdit);
    connect(m_directControl, &SegmentedControl::action, this, &FindBarController::buttonPressed);
    connect(m_replaceControl, &SegmentedControl::action, this, &FindBarController::buttonPressed);
    connect(m_doneButton, &QPushButton::clicked, this, [this] { buttonPressed(m_doneButton); });
    connect(m_optionPopup, &QComboBox::activated, this, [this] { popupChanged(m_optionPopup); });
    setEditState(false);
}

void FindBarController::buildControls()
{
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setPlaceholderText(L(QStringLiteral("Find")));
    m_replaceStringField->setPlaceholderText(L(QStringLiteral("Replace")));
    m_doneButton->setText(L(QStringLiteral("Done")));
    QStyle *style = QApplication::style();
    m_directControl->setImage(style->standardIcon(QStyle::SP_ArrowLeft), 0);
    m_directControl->setImage(style->standardIcon(QStyle::SP_ArrowRight), 1);
    m_directControl->setToolTip(L(QStringLiteral("Previous")), 0);
    m_directControl->setToolTip(L(QStringLiteral("Next")), 1);
    m_replaceControl->setLabel(L(QStringLiteral("Replace")), 0);
    m_replaceControl->setLabel(L(QStringLiteral("All")), 1);
    m_optionPopup->clear();
    m_optionPopup->addItems({L(QStringLiteral("CaseInsensitive")), L(QStringLiteral("CaseSensitive"))});
    m_optionPopup->setCurrentIndex(0);

    layoutControls();
}

// Two rows, the fields one above the other in the column that takes the bar's spare width: the
// bar fits over a narrow grid, and the controls beside the fields keep their widths, so typing
// moves nothing.
void FindBarController::layoutControls()
{
    const int fieldWidth = readableFieldWidth(m_searchField);
    m_searchField->setMinimumWidth(fieldWidth);
    m_replaceStringField->setMinimumWidth(fieldWidth);
    // Squeezed, the popup would cut its title short.
    m_optionPopup->setSizePolicy(QSizePolicy::Fixed, m_optionPopup->sizePolicy().verticalPolicy());

    auto *layout = new QGridLayout(m_view);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setColumnStretch(0, 1);
    layout->addWidget(m_searchField, 0, 0);
    layout->addWidget(m_directControl, 0, 1, Qt::AlignLeft);
    layout->addWidget(m_optionPopup, 0, 2);
    layout->addWidget(m_replaceStringField, 1, 0);
    layout->addWidget(m_replaceControl, 1, 1, Qt::AlignLeft);
    layout->addWidget(m_doneButton, 1, 2, Qt::AlignRight);
}

QWidget *FindBarController::view()
{
    return m_view;
}

void FindBarController::setEditState(bool editState)
{
    m_editState = editState;
    m_replaceControl->setEnabled(editState);
}

QString FindBarController::replaceString() const
{
    return m_replaceStringField->text();
}

// The same text is left alone, so the user's cursor in it stays where it is.
void FindBarController::setSearchString(const QString &searchString)
{
    m_searchedString = searchString;
    if (m_searchField->text() != searchString)
        m_searchField->setText(searchString);
}

QString FindBarController::shownSearchString() const
{
    return m_searchField->text();
}

// --- actions --------------------------------------------------------------------------------

void FindBarController::sendCommand(FindBarCommand command)
{
    if (m_delegate)
        m_delegate->findBarButtonDidPress(command);
}

void FindBarController::buttonPressed(QObject *sender)
{
    if (sender == m_directControl) {
        const int segment = m_directControl->selectedSegment();
        if (segment == 0 || segment == 1)
            sendCommandForShownText(segment == 0 ? Previous : Next);
    } else if (sender == m_replaceControl) {
        const int segment = m_replaceControl->selectedSegment();
        if (segment == 0 || segment == 1)
            sendCommandForShownText(segment == 0 ? Replace : ReplaceAll);
    } else if (sender == m_doneButton) {
        setVisible(false);
        sendCommand(Done);
    }
}

// The delegate acts on its last search: text typed since then is searched first, or the
// command would step through or replace a string the field no longer shows.
void FindBarController::sendCommandForShownText(FindBarCommand command)
{
    const QString shown = m_searchField->text();
    if (shown.isEmpty())
        return;
    if (shown != m_searchedString) {
        textDidEnter(m_searchField);
        // The new search has selected its first match: Next lands there, where Return would.
        if (command == Next)
            return;
    }
    sendCommand(command);
}

// The option follows the item's place, not its title: item 0 is case-insensitive in every
// language, whatever the translations of the titles say.
void FindBarController::popupChanged(QObject *sender)
{
    if (sender != m_optionPopup)
        return;
    m_caseInsensitive = m_optionPopup->currentIndex() == 0;
    sendCommand(OptionChanged);
}

void FindBarController::textDidEnter(QObject *sender)
{
    if (sender != m_searchField)
        return;
    m_searchedString = m_searchField->text();
    if (m_delegate)
        m_delegate->findStringDidChange(m_searchedString);
}

// An emptied field leaves no marks of the old search behind; other edits wait for Return or a
// button.
void FindBarController::textDidEdit(const QString &text)
{
    if (text.isEmpty() && !m_searchedString.isEmpty())
        textDidEnter(m_searchField);
}

// --- showing and hiding ---------------------------------------------------------------------

bool FindBarController::isVisible() const
{
    return m_view && !m_view->isHidden();
}

void FindBarController::setVisible(bool visible)
{
    setVisible(visible, {});
}

// A bar already shown or hidden, with nothing under way, is left as it is: fading an invisible
// bar out would report it visible for a second, and the Find button would then hide what no one
// sees.
void FindBarController::setVisible(bool visible, std::function<void()> completion)
{
    if (!isAnimating() && visible == isVisible()) {
        if (completion)
            completion();
        return;
    }
    animate(visible, std::move(completion));
}

// The bar's height animates with its opacity, so the view below it gives up or takes back its
// place in the layout; a bar coming in takes the keyboard in its search field. A request made
// while another runs takes over from where the bar is; the handlers of both are called when it
// ends.
void FindBarController::animate(bool visible, std::function<void()> completion)
{
    if (m_animation)
        m_animation->stop();
    if (completion)
        m_pendingCompletions.append(std::move(completion));

    QPointer<FindBarView> bar = m_view.get();
    const int fullHeight = bar->sizeHint().height();
    const int startHeight = bar->isHidden() ? 0 : qMin(bar->maximumHeight(), bar->height());
    bar->setMaximumHeight(startHeight);
    bar->show();
    if (visible) {
        m_searchField->setFocus(Qt::OtherFocusReason);
        m_searchField->selectAll();
    }

    auto *group = new QParallelAnimationGroup(this);
    group->addAnimation(ViewAlpha::animation(bar, visible ? 1.0 : 0.0, AnimationDuration));
    auto *height = new QPropertyAnimation(bar, "maximumHeight");
    height->setStartValue(startHeight);
    height->setEndValue(visible ? fullHeight : 0);
    height->setDuration(AnimationDuration);
    group->addAnimation(height);
    connect(group, &QAbstractAnimation::finished, this, [this, bar, visible] {
        if (bar) {
            ViewAlpha::setAlpha(bar, visible ? 1.0 : 0.0);
            bar->setMaximumHeight(visible ? QWIDGETSIZE_MAX : 0);
            bar->setHidden(!visible);
        }
        const QList<std::function<void()>> completions = std::exchange(m_pendingCompletions, {});
        for (const std::function<void()> &handler : completions)
            handler();
    });
    m_animation = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}
