#pragma once

#include "editors/EditorContext.h"
#include "ui/contracts/DateEditorInterface.h"

#include <QPointer>

class DateViewController;

// DateViewController behind the contract through which panes open it.
class DateEditorAdapter : public DateEditorInterface
{
public:
    DateEditorAdapter();
    ~DateEditorAdapter() override;

    QWidget *view() override;
    void setPopover(Popover *popover) override;
    void setLabels(const QStringList &labels) override;
    void setContextInfo(const ContactRowPtr &contact, const QString &type, const QVariant &entry,
                        bool editable) override;
    std::optional<QVariant> dirtyValue() const override;

    DateViewController *editor() const;

private:
    QPointer<DateViewController> m_editor;
    EditorContextPtr m_context;
};
