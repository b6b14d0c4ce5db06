#pragma once

#include <QTabWidget>

class MacModel;
class MenuBarController;
class Plugins;
class QScrollArea;

// The settings window's content: the sync, general and plug-in tabs, 540
// wide and as tall as the selected tab needs, also when its content changes,
// but never taller than the screen's free area: a taller tab scrolls. A window
// that grows moves up as far as needed to stay on the screen.
class MacSettingsView : public QTabWidget {
    Q_OBJECT
public:
    MacSettingsView(MacModel &model, MenuBarController &menuBar, Plugins &plugins, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addPage(QWidget *page, const QString &title, const QString &symbol);
    QScrollArea *selectedScroller() const;
    void fitSelectedTab();
    int tallestOnScreen() const;
    void keepOnScreen();
};
