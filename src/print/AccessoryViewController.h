#pragma once

#include "print/EnvelopeTab.h"
#include "ui/contracts/PrintAccessoryInterface.h"
#include "ui/widgets/OwnedView.h"

#include <QFontDialog>
#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QStringList>

class AddressListTab;
class MailingLabelsTab;
class PrintInfo;
class QDoubleSpinBox;
class QFont;
class QTabWidget;
class QWidget;
class SharedOptionsBox;
class UserDefaults;

// The print window's accessory: the print options (loaded from the user defaults when it is made)
// and the choice of print style, one tab per style, with the unit, margins and font that all
// styles share. Every change by the user is written into the options at once, saved whole to the
// user defaults and announced with previewChanged(), so that the preview, drawn from the same
// options, follows. Filling the controls from the options never counts as such a change.
//
// The view is set up when it is first asked for, after the print command has set "printStyle":
// every tab is filled from the options, the tab of that style is selected and one update runs,
// which saves the options. A tab is filled again whenever it is selected.
class AccessoryViewController : public QObject, public PrintAccessoryInterface
{
    Q_OBJECT

public:
    explicit AccessoryViewController(UserDefaults &defaults, QObject *parent = nullptr);
    ~AccessoryViewController() override;

    PrintOptionsPtr printOptions() override { return m_options; }
    void setPrintView(PrintViewInterface *view) override { m_printView = view; }
    // Also ticks the address list's items of the shown columns.
    void setColumns(const QStringList &columns) override;
    QWidget *view() override;

    // The print info that carries the chosen style under "FenwardePrintType", and the paper; the
    // shared one until the print command gives one.
    void setPrintInfo(PrintInfo *printInfo) { m_printInfo = printInfo; }
    QString printStyle() const;
    void setPrintStyle(const QString &style);
    // The print info's paper or orientation has changed: the envelope tab shows and edits that
    // paper's box from now on. Nothing is saved; the paper is not one of the options.
    void paperChanged();

    // The styles offered, in tab order.
    static QStringList styles();
    // Selects the style's tab, as a click on it would.
    void selectStyle(const QString &style);
    QString selectedStyle() const;
    // The style last handled; empty until the view is set up.
    QString currentStyle() const { return m_currentStyle; }
    QStringList columnsInMainView() const { return m_columnsInMainView; }
    PrintViewInterface *printView() const { return m_printView; }
    // The unit the length fields show.
    QString lastUnitType() const { return m_lastUnitType; }
    QStringList verticalFonts() const { return m_verticalFonts; }

    SharedOptionsBox *sharedControls() const { return m_shared; }
    AddressListTab *addressListTab() const { return m_addressList; }
    MailingLabelsTab *mailingLabelsTab() const { return m_mailingLabels; }
    EnvelopeTab *envelopeTab() const { return m_envelope; }
    QTabWidget *styleTab() const { return m_styleTab; }

    // What the font panel reports: the font's name and size go to the fields.
    void changeFont(const QFont &font);
    // Opens the font panel on the font of the fields; it stays open beside the print window.
    void showFontsButtonPressed();
    QFontDialog *fontPanel() const { return m_fontPanel; }

    // Writes the controls into the options, the style into the print info, and saves.
    void updateUI();

signals:
    void previewChanged();

private:
    QWidget *makeView();
    void connectControls();
    void styleSelected(int index);
    void setUpTab(const QString &style);
    void setUpAddressList();
    void setUpMailingLabels();
    void setUpEnvelope();
    void selectStoredUnit();
    void showSharedValues();
    void updatePrintOptions();
    void unitTypePopupChanged();
    void marginChanged(QDoubleSpinBox *sender);
    PrintInfo &printInfo() const;
    EnvelopeTab::Paper paper() const;
    QSizeF paperInShownUnit() const;
    QVariantMap styleOptions(const QString &key) const;

    UserDefaults &m_defaults;
    PrintOptionsPtr m_options;
    PrintInfo *m_printInfo = nullptr;
    PrintViewInterface *m_printView = nullptr;
    QStringList m_columnsInMainView;
    QStringList m_verticalFonts;
    QString m_currentStyle;
    QString m_lastUnitType;
    QTabWidget *m_styleTab = nullptr;
    SharedOptionsBox *m_shared = nullptr;
    AddressListTab *m_addressList = nullptr;
    MailingLabelsTab *m_mailingLabels = nullptr;
    EnvelopeTab *m_envelope = nullptr;
    QPointer<QFontDialog> m_fontPanel;
    std::unique_ptr<OwnedView<QWidget>> m_view;
};
