#include "NameDialog.h"

#include "FitWindowTitle.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int roomInCharacters = 20;
// The field's frame and the margins inside it, on both sides.
constexpr int fieldChrome = 24;

} // namespace

NameDialog::NameDialog(const QString &title, const QString &placeholder, const QString &acceptText,
                       QWidget *parent)
    : QDialog(parent), m_field(new QLineEdit(this))
{
    setWindowTitle(title);
    auto *heading = new QLabel(title, this);
    heading->setObjectName(QStringLiteral("namingTitle"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_field->setPlaceholderText(placeholder);
    // A longer name is typed without scrolling out of the field.
    const QString longName(roomInCharacters, QChar(0x540D));
    m_field->setMinimumWidth(m_field->fontMetrics().horizontalAdvance(longName) + fieldChrome);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    buttons->addButton(acceptText, QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_field);
    layout->addWidget(buttons);
    fitWindowTitle(*this);
}
