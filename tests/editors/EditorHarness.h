#pragma once

#include "EditorsFixture.h"

#include "ui/contracts/EditorContext.h"
#include "editors/ValueEditor.h"
#include "model/QNPersonKeys.h"
#include "platform/widgets/Popover.h"

#include <QComboBox>
#include <QPointer>
#include <QWidget>

// The user picks an item of a popup.
inline void choose(QComboBox *popup, int index)
{
    popup->setCurrentIndex(index);
    emit popup->activated(index);
}

// Opens an editor as a presenter does: in a shown popover, the context handed over afterwards.
class EditorHarness : public EditorsFixture
{
protected:
    template <typename Editor>
    Editor *open(const QNPersonPtr &person, const QString &type, bool editable = true,
                 bool editEnabled = true)
    {
        m_anchor.resize(400, 300);
        m_anchor.show();
        auto *editor = new Editor;
        m_popover = new Popover(&m_anchor);
        m_popover->setContentWidget(editor);
        m_popover->setContentSize(QSize(340, 392));
        editor->setPopover(m_popover);
        m_popover->showRelativeToRect(QRect(0, 0, 10, 10), &m_anchor, Popover::Edge::MaxY);
        m_context = std::make_shared<EditorContext>();
        m_context->contact = std::make_shared<ContactRow>();
        m_context->contact->person = person;
        m_context->type = type;
        m_context->editEnabled = editEnabled;
        prepare(*m_context);
        editor->setContextInfo(m_context, editable);
        return editor;
    }

    // Keys a test adds to the context before the editor gets it.
    virtual void prepare(EditorContext &) {}

    static QNPersonPtr personNamed(const QString &first, const QString &last)
    {
        auto person = std::make_shared<QNPerson>();
        person->setValue(QVariantMap{{PersonKey::FirstName, first}, {PersonKey::LastName, last}},
                         PersonIdentifier::Name);
        person->setChanged(false);
        return person;
    }

    bool closedWithoutResult() const
    {
        return !m_popover->isShown() && !m_context->dirty.has_value() && !m_context->value.isValid();
    }

    QWidget m_anchor;
    QPointer<Popover> m_popover;
    EditorContextPtr m_context;
};
