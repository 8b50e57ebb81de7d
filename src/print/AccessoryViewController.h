#pragma once

#include "ui/contracts/PrintAccessoryInterface.h"
#include "ui/widgets/OwnedView.h"

#include <QObject>
#include <QStringList>

class PrintInfo;
class QTabWidget;
class QWidget;
class UserDefaults;

// The print window's accessory: the print options (loaded from the user defaults when it is made)
// and the choice of print style, one tab per style. Every change is written into the options at
// once, saved whole to the user defaults and announced with previewChanged(), so that the preview,
// drawn from the same options, follows.
//
// The view is set up when it is first asked for, after the print command has set "printStyle":
// the tab of that style is selected and one update runs, which saves the options.
class AccessoryViewController : public QObject, public PrintAccessoryInterface
{
    Q_OBJECT

public:
    explicit AccessoryViewController(UserDefaults &defaults, QObject *parent = nullptr);
    ~AccessoryViewController() override;

    PrintOptionsPtr printOptions() override { return m_options; }
    void setPrintView(PrintViewInterface *view) override { m_printView = view; }
    void setColumns(const QStringList &columns) override { m_columnsInMainView = columns; }
    QWidget *view() override;

    // The print info that carries the chosen style under "FenwardePrintType".
    void setPrintInfo(PrintInfo *printInfo) { m_printInfo = printInfo; }
    QString printStyle() const;
    void setPrintStyle(const QString &style);

    // The styles offered, in tab order.
    static QStringList styles();
    // Selects the style's tab, as a click on it would.
    void selectStyle(const QString &style);
    QString selectedStyle() const;
    // The style last handled; empty until the view is set up.
    QString currentStyle() const { return m_currentStyle; }
    QStringList columnsInMainView() const { return m_columnsInMainView; }
    PrintViewInterface *printView() const { return m_printView; }

    // Writes the controls into the options, the style into the print info, and saves.
    void updateUI();

signals:
    void previewChanged();

private:
    QWidget *makeView();
    void styleSelected(int index);

    UserDefaults &m_defaults;
    PrintOptionsPtr m_options;
    PrintInfo *m_printInfo = nullptr;
    PrintViewInterface *m_printView = nullptr;
    QStringList m_columnsInMainView;
    QString m_currentStyle;
    QTabWidget *m_styleTab = nullptr;
    std::unique_ptr<OwnedView<QWidget>> m_view;
};
