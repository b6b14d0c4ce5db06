#include "SettingsForm.h"

#include "TamselStore.h"
#include "Theme.h"
#include "Typography.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

SettingsForm::SettingsForm(QWidget *parent) : QWidget(parent), m_sections(new QVBoxLayout(this))
{
    m_sections->setContentsMargins(20, 20, 20, 20);
    m_sections->setSpacing(18);
    m_sections->addStretch();
}

QColor SettingsForm::secondaryColor(const QPalette &palette)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.55);
    return color;
}

SettingsForm::Section *SettingsForm::addSection(const QString &header)
{
    auto *section = new Section(header, this);
    m_sections->insertWidget(m_sections->count() - 1, section);
    return section;
}

QLabel *SettingsForm::caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setFont(Typography::caption(label->font()));
    Theme::useSecondaryText(label);
    return label;
}

QLabel *SettingsForm::warning(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setFont(Typography::caption(label->font()));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0xE8, 0x82, 0x1E));
    label->setPalette(palette);
    return label;
}

QCheckBox *SettingsForm::storedSwitch(const QString &text, const QString &key, bool fallback)
{
    auto *box = new QCheckBox(text);
    box->setChecked(TamselStore::defaults().boolObject(key, fallback));
    connect(box, &QCheckBox::toggled, [key](bool on) { TamselStore::defaults().setBool(key, on); });
    return box;
}

SettingsForm::Section::Section(const QString &header, QWidget *parent)
    : QWidget(parent), m_card(new QFrame(this)), m_rows(new QVBoxLayout(m_card)),
      m_outer(new QVBoxLayout(this))
{
    m_outer->setContentsMargins(0, 0, 0, 0);
    m_outer->setSpacing(6);
    if (!header.isEmpty()) {
        auto *title = new QLabel(header, this);
        title->setFont(Typography::callout(title->font(), QFont::DemiBold));
        m_outer->addWidget(title);
    }
    m_card->setObjectName(QStringLiteral("card"));
    Theme::paintAndFollow(this, [this] { paintCard(); });
    m_rows->setContentsMargins(12, 8, 12, 8);
    m_rows->setSpacing(10);
    m_outer->addWidget(m_card);
}

void SettingsForm::Section::paintCard()
{
    m_card->setStyleSheet(QStringLiteral("QFrame#card { background: %1; border-radius: 8px; }")
                              .arg(Theme::card().resolved().name()));
}

QWidget *SettingsForm::Section::addRow(QWidget *widget)
{
    return appendRow(widget);
}

QWidget *SettingsForm::Section::addLabelledRow(const QString &label, QWidget *content)
{
    return addLabelledRow(new QLabel(label), content);
}

QWidget *SettingsForm::Section::addLabelledRow(QWidget *label, QWidget *content)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addStretch();
    layout->addWidget(content);
    return appendRow(row);
}

void SettingsForm::Section::setFooter(QWidget *footer)
{
    footer->setParent(this);
    footer->setContentsMargins(12, 0, 12, 0);
    m_outer->addWidget(footer);
}

QWidget *SettingsForm::Section::appendRow(QWidget *row)
{
    row->setParent(m_card);
    m_rows->addWidget(row);
    return row;
}
