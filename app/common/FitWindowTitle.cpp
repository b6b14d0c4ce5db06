#include "FitWindowTitle.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>
#include <algorithm>

namespace {

// The frame's icon and its minimise, maximise and close buttons, with margins.
constexpr int frameControlsWidth = 120;

// As Qt hands it to the window manager.
QString frameTitle(const QString &title)
{
    const QString application = QGuiApplication::applicationDisplayName();
    if (application.isEmpty() || application == title)
        return title;
    return title + QStringLiteral(" \u2014 ") + application;
}

} // namespace

void fitWindowTitle(QWidget &window)
{
    // Frames write their titles in bold at about the interface's size.
    QFont bold = window.font();
    bold.setBold(true);
    const int needed =
        QFontMetrics(bold).horizontalAdvance(frameTitle(window.windowTitle())) + frameControlsWidth;
    window.setMinimumWidth(std::max(window.minimumWidth(), needed));
}

void fitMessageBoxTitle(QMessageBox &box)
{
    fitWindowTitle(box);
    auto *grid = static_cast<QGridLayout *>(box.layout());
    const QMargins margins = grid->contentsMargins();
    grid->addItem(new QSpacerItem(box.minimumWidth() - margins.left() - margins.right(), 0), grid->rowCount(),
                  0, 1, grid->columnCount());
}
