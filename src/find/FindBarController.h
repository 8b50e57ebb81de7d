#pragma once

#include "find/FindBarView.h"
#include "ui/contracts/FindBarDelegate.h"
#include "ui/contracts/FindBarInterface.h"
#include "ui/widgets/OwnedView.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractAnimation;
class QComboBox;
class QLineEdit;
class QPushButton;
class SegmentedControl;

// The find bar over the grid: a search field, Previous/Next, a replacement field with
// Replace/All, the case option and Done. It keeps no find state beyond the case option, the edit
// state and the text of the last search; every action becomes one call of its delegate, which
// does the finding. Previous, Next, Replace and All act on the text the field shows: a field
// edited since the last search is sent as a new search first, as Return sends it, and an empty
// field sends nothing. Next on an edited field is that search alone, which lands on its first
// match as Return does; Previous steps back from there. Emptying the field sends the empty search
// at once, which takes the old matches' marks away.
//
// Showing and hiding fade the bar in and out over one second while the view below it shrinks
// into or grows over its place; a show puts the keyboard in the search field. isVisible() is true
// from the start of a show to the end of a hide.
// A show or hide asked for while another runs takes over from where the bar is; every handler is
// called once, when the bar has come to rest.
class FindBarController : public QObject, public FindBarInterface
{
    Q_OBJECT

public:
    using enum FindBarCommand;

    static constexpr int AnimationDuration = 1000;

    // The bar starts hidden, case-insensitive.
    FindBarController();

    QWidget *view() override;
    QWidget *takeView() override { return m_view.take(); }
    FindBarDelegate *delegate() const { return m_delegate; }
    // May be null: then no command and no text is sent, but Done still hides the bar.
    void setDelegate(FindBarDelegate *delegate) override { m_delegate = delegate; }

    QLineEdit *searchField() const { return m_searchField; }
    QLineEdit *replaceStringField() const { return m_replaceStringField; }
    QPushButton *doneButton() const { return m_doneButton; }
    SegmentedControl *directControl() const { return m_directControl; }
    SegmentedControl *replaceControl() const { return m_replaceControl; }
    QComboBox *optionPopup() const { return m_optionPopup; }

    bool isCaseInsensitive() const override { return m_caseInsensitive; }
    void setCaseInsensitive(bool caseInsensitive) { m_caseInsensitive = caseInsensitive; }
    bool editState() const { return m_editState; }
    // Replacing is offered only in edit state.
    void setEditState(bool editState) override;
    QString replaceString() const override;
    void setSearchString(const QString &searchString) override;
    QString shownSearchString() const override;

    bool isVisible() const override;
    void setVisible(bool visible);
    void setVisible(bool visible, std::function<void()> completion) override;
    // True while a show or hide is running.
    bool isAnimating() const { return !m_animation.isNull(); }

    // The controls' actions.
    void buttonPressed(QObject *sender);
    void popupChanged(QObject *sender);
    void textDidEnter(QObject *sender);
    void textDidEdit(const QString &text);

private:
    void buildControls();
    void layoutControls();
    void animate(bool visible, std::function<void()> completion);
    void sendCommand(FindBarCommand command);
    void sendCommandForShownText(FindBarCommand command);

    OwnedView<FindBarView> m_view;
    QLineEdit *m_searchField;
    QLineEdit *m_replaceStringField;
    QPushButton *m_doneButton;
    SegmentedControl *m_directControl;
    SegmentedControl *m_replaceControl;
    QComboBox *m_optionPopup;
    FindBarDelegate *m_delegate = nullptr;
    bool m_caseInsensitive = true;
    bool m_editState = false;
    // What Return sent last, or what the delegate put in the field: the delegate's find string.
    QString m_searchedString;
    QPointer<QAbstractAnimation> m_animation;
    // The handlers of the running show or hide and of those it took over from.
    QList<std::function<void()>> m_pendingCompletions;
};
