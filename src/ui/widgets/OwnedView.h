#pragma once

#include <QPointer>

// A controller's view: the controller owns it until it hands it to a layout with take(), after
// which the layout's widget deletes it. A view never handed over goes with the controller.
template <typename View>
class OwnedView
{
public:
    explicit OwnedView(View *view) : m_view(view) {}
    ~OwnedView()
    {
        if (m_owned)
            delete m_view.data();
    }
    OwnedView(const OwnedView &) = delete;
    OwnedView &operator=(const OwnedView &) = delete;

    View *get() const { return m_view; }
    View *operator->() const { return m_view; }
    operator View *() const { return m_view; }

    // The caller places the view in a layout and so becomes its owner.
    View *take()
    {
        m_owned = false;
        return m_view;
    }

private:
    QPointer<View> m_view;
    bool m_owned = true;
};
