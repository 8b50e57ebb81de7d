#pragma once

#include <QString>

#include <functional>

class FindBarDelegate;
class QWidget;

// What the main view controller needs of the find bar. Implemented by a controller that holds
// the bar's widget (not by the widget: setVisible here is the bar's animated showing).
class FindBarInterface
{
public:
    virtual ~FindBarInterface() = default;

    // The bar's widget, still owned by the controller.
    virtual QWidget *view() = 0;
    // The same widget handed over to the caller, who places it in a layout.
    virtual QWidget *takeView() = 0;

    virtual void setDelegate(FindBarDelegate *delegate) = 0;
    // Shows or hides the bar, then calls completion (which may be empty).
    virtual void setVisible(bool visible, std::function<void()> completion) = 0;
    // True while the bar is shown.
    virtual bool isVisible() const = 0;
    // Replacing is offered only in edit state.
    virtual void setEditState(bool editState) = 0;
    virtual QString replaceString() const = 0;
    // Shows the text in the search field, as if typed (nothing is sent).
    virtual void setSearchString(const QString &searchString) = 0;
    // The text the search field shows, sent or not.
    virtual QString shownSearchString() const = 0;
    // The case option of the bar's popup.
    virtual bool isCaseInsensitive() const { return true; }
};
