#include "print/SharedOptionsBox.h"

#include "platform/Localizer.h"
#include "print/PrintControls.h"
#include "print/PrintUnit.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

SharedOptionsBox::SharedOptionsBox(QWidget *parent) : QWidget(parent)
{
    m_unit = new QComboBox(this);
    for (const QString &unit : PrintUnit::all())
        m_unit->addItem(L(unit), unit);
    m_top = PrintControls::makeLengthBox(this);
    m_left = PrintControls::makeLengthBox(this);
    m_right = PrintControls::makeLengthBox(this);
    m_bottom = PrintControls::makeLengthBox(this);
    m_fontName = new QLineEdit(this);
    m_fontSize = new QSpinBox(this);
    m_fontSize->setRange(1, 1000);
    m_fontSize->setKeyboardTracking(false);
    m_showFont = new QPushButton(L(QStringLiteral("Fonts…")), this);

    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(L(QStringLiteral("Unit:")), this), 0, 0);
    layout->addWidget(m_unit, 0, 1);
    layout->addWidget(new QLabel(L(QStringLiteral("Top:")), this), 1, 0);
    layout->addWidget(m_top, 1, 1);
    layout->addWidget(new QLabel(L(QStringLiteral("Bottom:")), this), 1, 2);
    layout->addWidget(m_bottom, 1, 3);
    layout->addWidget(new QLabel(L(QStringLiteral("Left:")), this), 2, 0);
    layout->addWidget(m_left, 2, 1);
    layout->addWidget(new QLabel(L(QStringLiteral("Right:")), this), 2, 2);
    layout->addWidget(m_right, 2, 3);
    layout->addWidget(new QLabel(L(QStringLiteral("Font:")), this), 3, 0);
    layout->addWidget(m_fontName, 3, 1, 1, 2);
    layout->addWidget(m_fontSize, 3, 3);
    layout->addWidget(m_showFont, 4, 3);
}
