#pragma once

#include <QFrame>
#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QVBoxLayout;

// A grouped form as the settings tabs show it: sections of rows on a rounded
// card, each with an optional header above and a footer below.
class SettingsForm : public QWidget {
    Q_OBJECT
public:
    class Section : public QWidget {
    public:
        explicit Section(const QString &header, QWidget *parent = nullptr);

        // A row holding the widget across the card's width.
        QWidget *addRow(QWidget *widget);
        // A row with the label on the left and the content on the right.
        QWidget *addLabelledRow(const QString &label, QWidget *content);
        QWidget *addLabelledRow(QWidget *label, QWidget *content);
        // The footer's content goes below the card, in the caption style.
        void setFooter(QWidget *footer);

    private:
        QWidget *appendRow(QWidget *row);
        void paintCard();

        QFrame *m_card;
        QVBoxLayout *m_rows;
        QVBoxLayout *m_outer;
    };

    explicit SettingsForm(QWidget *parent = nullptr);

    Section *addSection(const QString &header = {});
    // The colour of secondary texts on the palette.
    static QColor secondaryColor(const QPalette &palette);
    // A text in the caption font and the secondary colour, wrapped.
    static QLabel *caption(const QString &text, QWidget *parent = nullptr);
    // A switch bound to a stored Bool, with the fallback while none is stored.
    static QCheckBox *storedSwitch(const QString &text, const QString &key, bool fallback);
    // A caption in orange, for errors.
    static QLabel *warning(const QString &text = {}, QWidget *parent = nullptr);

private:
    QVBoxLayout *m_sections;
};
