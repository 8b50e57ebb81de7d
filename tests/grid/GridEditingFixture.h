#pragma once

#include "GridFixture.h"

#include "detail/ContactInfoPopover.h"
#include "detail/ContactInfoWindowController.h"
#include "editors/ValueEditors.h"
#include "grid/GridCellEditing.h"
#include "grid/GridContactPopovers.h"
#include "grid/GridEditorPresenter.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/Popover.h"
#include "platform/widgets/TestMode.h"

// The grid's edits go to the main view controller's funnel and undo manager; its popovers and
// torn-off windows are the real ones.
class EditingDelegate : public RecordingDelegate
{
public:
    ContactInfoPopoverDelegate *contactEditDelegate() override { return view; }
    UndoManager *undoManager() const override { return view->undoManager(); }
    ContactInfoPopoverInterface *makeContactInfoPopover() override
    {
        return new ContactInfoPopover(UserDefaults::standard());
    }
    DetachedWindowController *makeDetachedWindow() override
    {
        return new ContactInfoWindowController(UserDefaults::standard());
    }
    ValueEditorFactory *valueEditorFactory() override { return &editors; }

    ViewController *view = nullptr;
    ValueEditors editors;
};

class GridEditingFixture : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        TestMode::reset();
        TestMode::setEnabled(true);
        m_editing.view = m_view.get();
        GridCellEditing::setModifierQuery([this] { return m_modifiers; });
        m_view->resize(1000, 600);
        m_view->show();
        // Showing the window makes the view controller the grid's delegate.
        grid()->setDelegate(&m_editing);
        // The window starts locked; these tests edit unless they lock it.
        grid()->setEditState(true);
    }

    void TearDown() override
    {
        for (const DetachedWindowEntryPtr &entry : grid()->detachedWindows()) {
            if (entry->window)
                entry->window->close();
        }
        if (Popover *popover = grid()->popover())
            popover->close();
        QCoreApplication::processEvents();
        GridCellEditing::setModifierQuery({});
        TestMode::reset();
        TestMode::setEnabled(false);
        GridFixture::TearDown();
    }

    GridEditorPresenter *editors() const { return grid()->editorPresenter(); }
    GridContactPopovers *contactPopovers() const { return grid()->contactPopovers(); }
    GridCellEditing *cellEditing() const { return grid()->cellEditing(); }
    UndoManager &undoManager() const { return *m_view->undoManager(); }
    // What one user event makes: the steps before it are closed.
    void nextEvent() { undoManager().closeAutomaticGroup(); }

    int column(const QString &identifier) const { return int(grid()->tableIdentifiers().indexOf(identifier)); }
    int rowOf(const ContactRowPtr &contact, int labelIndex = 0) const
    {
        const QList<SubContactRowPtr> rows = grid()->subContactTable();
        for (int row = 0; row < rows.size(); ++row) {
            if (rows.at(row)->uniqueId == contact->uniqueId && rows.at(row)->labelIndex == labelIndex)
                return row;
        }
        return -1;
    }
    SubContactRowPtr subRow(int row) const { return grid()->subContactTable().at(row); }
    QRect cellRect(int row, const QString &identifier) const
    {
        return table()->visualRect(model()->index(row, column(identifier)));
    }

    template <typename Content>
    Content *popoverContent() const
    {
        Popover *popover = grid()->popover();
        return popover ? qobject_cast<Content *>(popover->contentWidget()) : nullptr;
    }

    static QStringList values(const ContactRowPtr &contact, const QString &identifier,
                              const QString &key = QStringLiteral("value"))
    {
        QStringList texts;
        for (const QVariant &entry : contact->person->labeledValueForIdentifier(identifier))
            texts.append(entry.toMap().value(key).toString());
        return texts;
    }

    EditingDelegate m_editing;
    Qt::KeyboardModifiers m_modifiers = Qt::NoModifier;
};
