#pragma once

#include "platform/widgets/Sheet.h"

class QLabel;
class QPushButton;

// The About window: the edition's icon and name, the version and, once there is one, a link to
// the web site. Made once by the application and run application-modal each time it is asked for.
class AboutPanelController : public Sheet
{
    Q_OBJECT

public:
    explicit AboutPanelController(QWidget *parent = nullptr);

    QLabel *iconView() const { return m_iconView; }
    QLabel *productNameField() const { return m_productNameField; }
    QLabel *versionField() const { return m_versionField; }
    QPushButton *urlButton() const { return m_urlButton; }
    QPushButton *okButton() const { return m_okButton; }

private:
    void windowDidLoad();
    void okPressed();
    void openWebSite();

    QLabel *m_iconView;
    QLabel *m_productNameField;
    QLabel *m_versionField;
    QPushButton *m_urlButton;
    QPushButton *m_okButton;
};
