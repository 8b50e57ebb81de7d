#include "detail/DetailEditorPresenter.h"

#include "detail/DetailTableController.h"
#include "detail/DetailTableHost.h"
#include "model/QNPersonKeys.h"
#include "platform/widgets/Popover.h"
#include "ui/contracts/DetailEditDelegate.h"

#include <QTableView>

#include <utility>

namespace {

using Kind = ValueEditorFactory::Kind;

const QString Address = QStringLiteral("Address");
const QString InstantMessage = QStringLiteral("Instant Message");
const QString SocialNetwork = QStringLiteral("Social Network");
const QString Dates = QStringLiteral("Dates");

ValueEditorFactory *s_factory = nullptr;

QSize listEditorSize(const QString &type)
{
    if (type == Address)
        return {820, 260};
    if (type == InstantMessage)
        return {460, 260};
    if (type == SocialNetwork)
        return {680, 260};
    return {360, 260};
}

EditorContextPtr makeContext(const ContactRowPtr &contact, const QString &type, std::optional<int> labelIndex,
                             bool editEnabled)
{
    auto context = std::make_shared<EditorContext>();
    context->contact = contact;
    context->type = type;
    context->labelIndex = labelIndex;
    context->editEnabled = editEnabled;
    return context;
}

} // namespace

DetailEditorPresenter::DetailEditorPresenter(DetailTableController &table, DetailTableHost &host, QObject *parent)
    : QObject(parent), m_table(table), m_host(host)
{
}

Popover *DetailEditorPresenter::popover() const
{
    return m_popover;
}

void DetailEditorPresenter::setValueEditorFactory(ValueEditorFactory *factory)
{
    s_factory = factory;
}

ValueEditorFactory *DetailEditorPresenter::valueEditorFactory()
{
    return s_factory;
}

Popover *DetailEditorPresenter::makePopover()
{
    if (m_popover)
        return m_popover;
    auto *popover = new Popover(m_table.tableView());
    popover->setBehavior(Popover::Behavior::Transient);
    connect(popover, &Popover::closed, this, [this, popover] {
        if (m_popover == popover)
            m_popover = nullptr;
        popoverDidClose(popover);
        popover->deleteLater();
    });
    m_popover = popover;
    return popover;
}

void DetailEditorPresenter::present(Kind kind, const QSize &size, const QRect &rect, const EditorContextPtr &context)
{
    if (!s_factory || !m_table.contact())
        return;
    Popover *popover = makePopover();
    QWidget *editor = s_factory->makeEditor(kind, popover, m_table.selectedFont());
    popover->setContentWidget(editor);
    popover->setContentSize(size);
    popover->showRelativeToRect(rect, m_table.tableView()->viewport(), Popover::Edge::MaxY);
    // The editor takes its context only once it is shown, as the editors expect.
    s_factory->setContextInfo(editor, context, m_table.editState());
}

void DetailEditorPresenter::showMultiValuePopover(const QString &type, int labelIndex, const QRect &rect)
{
    present(Kind::List, listEditorSize(type), rect, makeContext(m_table.contact(), type, labelIndex, true));
}

void DetailEditorPresenter::showAddressPopover(const QString &type, int labelIndex, const QRect &rect)
{
    present(Kind::Address, {340, 460}, rect, makeContext(m_table.contact(), type, labelIndex, false));
}

void DetailEditorPresenter::showIMSPopover(const QString &type, int labelIndex, const QRect &rect)
{
    present(Kind::InstantMessage, {340, 192}, rect, makeContext(m_table.contact(), type, labelIndex, false));
}

void DetailEditorPresenter::showSNSPopover(const QString &type, int labelIndex, const QRect &rect)
{
    present(Kind::SocialProfile, {400, 222}, rect, makeContext(m_table.contact(), type, labelIndex, false));
}

void DetailEditorPresenter::showDatePopover(const QString &type, int labelIndex, const QRect &rect)
{
    if (type == Dates)
        present(Kind::Dates, {340, 392}, rect, makeContext(m_table.contact(), type, labelIndex, true));
    else if (type == PersonIdentifier::Birthday)
        present(Kind::Birthday, {340, 284}, rect, makeContext(m_table.contact(), type, std::nullopt, true));
}

void DetailEditorPresenter::popoverDidClose(Popover *popover)
{
    const EditorContextPtr context =
        popover && s_factory ? s_factory->contextInfo(popover->contentWidget()) : nullptr;
    if (!context || !context->dirty.value_or(false) || !context->contact)
        return;
    if (writeBack(*context))
        m_host.sendContactDidUpdate();
}

void DetailEditorPresenter::closeWithoutWriting()
{
    Popover *popover = std::exchange(m_popover, nullptr);
    if (!popover)
        return;
    disconnect(popover, &Popover::closed, this, nullptr);
    popover->close();
    popover->deleteLater();
}

bool DetailEditorPresenter::writeBack(const EditorContext &context)
{
    DetailEditDelegate *delegate = m_host.editDelegate();
    if (!delegate)
        return false;
    QObject *sender = m_host.editSender();
    const QString &type = context.type;
    if (type == PersonIdentifier::Birthday)
        // An empty result is nil: the birthday is removed.
        return delegate->undoReplaceBirthday(context.value, context.contact);
    const bool single = type == Address || type == SocialNetwork || type == InstantMessage;
    if (single && context.value.typeId() == QMetaType::QVariantMap) {
        const QVariantMap entry = context.value.toMap();
        if (entry.value(PersonKey::LabelIndex, 0).toInt() == -1)
            return delegate->undoAddLabeledValue(entry, type, context.contact, sender);
    }
    return delegate->undoReplaceLabeledValue(context.value, type, context.contact, sender);
}
