#pragma once

#include "app/FindBarInterface.h"

#include <QObject>
#include <QPointer>

class QLineEdit;

// Stands in for the find bar: a search field and a Done button, shown and hidden at once.
class PlaceholderFindBar : public QObject, public FindBarInterface
{
    Q_OBJECT

public:
    PlaceholderFindBar();
    // Deletes the widget unless a layout took it.
    ~PlaceholderFindBar() override;

    QWidget *view() override;
    void setDelegate(FindBarDelegate *delegate) override { m_delegate = delegate; }
    void setVisible(bool visible, std::function<void()> completion) override;
    bool isVisible() const override { return m_visible; }
    void setEditState(bool editState) override { m_editState = editState; }
    QString replaceString() const override { return {}; }

private:
    QPointer<QWidget> m_bar;
    QLineEdit *m_searchField;
    FindBarDelegate *m_delegate = nullptr;
    bool m_visible = true;
    bool m_editState = false;
};
